#!/usr/bin/env bash
# The keys, the settings keys and the command names are written down in more
# than one place: the manual page (the reference), the tables of the docs,
# the README's few keys, F1's panel, the shipped settings and the table of
# command names in the source. Fails, a line each, on a name one of them
# has and the other lacks.
# Usage: keys_agree.sh ROOT
set -euo pipefail
export LC_ALL=C
cd "$1"
MAN=packaging/tirak.6
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
: > "$tmp/problems"

# Every key name the tables may use; anything else in a keys column means
# that the column was read wrong or holds a typing mistake.
KEY_NAME='^([A-Z0-9=+-]|F[1-9][0-9]?|Ctrl\+[A-Z]|Space|Return|Tab|Backspace|Insert|Delete|Home|End|PageUp|PageDown|Up|Down|Left|Right|Arrows|Mouse|Wheel|Escape)$'
SETTING_NAME='^[a-z][a-z_]*(COMMAND)?$'

# The names in the tags of the manual page's .TP entries of SECTION: play,
# editor and menu under KEYS, settings for SETTINGS.
man_tags() {
    awk -v want="$1" '
        function clean(s) {
            gsub(/"[^"]*"/, " ", s); gsub(/\\f[BIRP]/, "", s); gsub(/\\-/, "-", s)
            sub(/^\.[A-Z]+/, "", s); gsub(/[,;()]/, " ", s); return s
        }
        /^\.SH / { sh = $2; ss = "" }
        /^\.SS / { ss = $0 }
        tag { n = split(clean($0), w, " "); for (i = 1; i <= n; i++) print w[i]; tag = 0 }
        /^\.TP/ {
            where = sh == "SETTINGS" ? "settings" : sh != "KEYS" ? "" : \
                ss ~ /Playing/ ? "play" : ss ~ /editor/ ? "editor" : ss ~ /menu/ ? "menu" : "KEYS " ss
            tag = where == want
        }' "$MAN"
}

# The first column of the Markdown table under the line <!-- MARKER -->:
# the keys, as words (keys), or its `names` (names).
table_column() {
    awk -v marker="<!-- $2 -->" -v kind="$3" '
        $0 == marker { on = 1; row = 0; next }
        on && !/^\|/ { on = 0 }
        on && ++row > 2 {
            split($0, cell, "|"); s = cell[2]
            if (kind == "names") {
                while (match(s, /`[^`]+`/)) { print substr(s, RSTART + 1, RLENGTH - 2); s = substr(s, RSTART + RLENGTH) }
                next
            }
            gsub(/`/, "", s); gsub(/[,()]/, " ", s)
            n = split(s, w, " ")
            for (i = 1; i <= n; i++) if (w[i] != "or") print toupper(substr(w[i], 1, 1)) substr(w[i], 2)
        }' "$1"
}

# The keys column of a table of F1's panel in src/app/hud.cpp.
panel_keys() {
    awk -v table="$1" '
        $0 ~ "^const HelpRow " table "\\[\\]" { on = 1; next }
        on && /^};/ { on = 0 }
        on && match($0, /^ *\{\{[^}]*\}, "[^"]*"/) {
            s = substr($0, RSTART, RLENGTH); sub(/^[^"]*"/, "", s); sub(/"$/, "", s)
            gsub(/,/, " ", s); n = split(s, w, " ")
            for (i = 1; i <= n; i++) print toupper(substr(w[i], 1, 1)) substr(w[i], 2)
        }' src/app/hud.cpp
}

# Lines between two marker lines that start with a roff font request, or
# every `name` between them in Markdown.
between() {
    FROM=$2 TO=$3 awk -v kind="$4" '
        BEGIN { from = ENVIRON["FROM"]; to = ENVIRON["TO"] }
        $0 == to { on = 0 }
        on && kind == "roff" && /^\.B/ {
            s = $0; gsub(/"[^"]*"/, " ", s); sub(/^\.[A-Z]+/, "", s); gsub(/[,;:.()]/, " ", s)
            n = split(s, w, " "); for (i = 1; i <= n; i++) print w[i]
        }
        on && kind == "markdown" { s = $0; while (match(s, /`[^`]+`/)) { print substr(s, RSTART + 1, RLENGTH - 2); s = substr(s, RSTART + RLENGTH) } }
        $0 == from { on = 1 }' "$1"
}

# Sorts LIST in place; a list that came out empty, or holds a name that is
# not one, is a problem of FILE's.
take() {
    local list=$1 file=$2 what=$3 pattern=$4
    sort -u -o "$list" "$list"
    [ -s "$list" ] || echo "$file: found none of $what where they should be." >> "$tmp/problems"
    grep -Ev "$pattern" "$list" | sed "s|^|$file: \"|; s|\$|\" among $what is no name of one.|" >> "$tmp/problems" || true
}

# Each name of list A that list B lacks, said as A's file's problem.
lacks() {
    comm -23 "$1" "$3" | sed "s|^|$2 names |; s|\$| among $5; $4 does not.|" >> "$tmp/problems"
}

for pair in play:docs/playing.md editor:docs/editor.md menu:docs/playing.md; do
    section=${pair%%:*} doc=${pair#*:}
    case $section in play) what="the keys of play" ;; *) what="the $section's keys" ;; esac
    man_tags "$section" > "$tmp/man"
    take "$tmp/man" "$MAN" "$what" "$KEY_NAME"
    table_column "$doc" "keys: $section" keys > "$tmp/doc"
    take "$tmp/doc" "$doc" "$what" "$KEY_NAME"
    lacks "$tmp/doc" "$doc" "$tmp/man" "$MAN" "$what"
    lacks "$tmp/man" "$MAN" "$tmp/doc" "$doc" "$what"
    case $section in play) panel=HELP ;; editor) panel=EDITOR_HELP ;; *) continue ;; esac
    panel_keys "$panel" > "$tmp/panel"
    take "$tmp/panel" src/app/hud.cpp "$what in F1's panel" "$KEY_NAME"
    lacks "$tmp/panel" src/app/hud.cpp "$tmp/man" "$MAN" "$what"
done
table_column README.md "some keys: play" keys > "$tmp/readme"
take "$tmp/readme" README.md "the keys of play" "$KEY_NAME"
man_tags play > "$tmp/man"
take "$tmp/man" "$MAN" "the keys of play" "$KEY_NAME"
lacks "$tmp/readme" README.md "$tmp/man" "$MAN" "the keys of play"

man_tags settings > "$tmp/man"
take "$tmp/man" "$MAN" "the settings keys" "$SETTING_NAME"
table_column docs/settings.md "settings keys" names > "$tmp/doc"
take "$tmp/doc" docs/settings.md "the settings keys" "$SETTING_NAME"
sed -n 's/^[[:space:]]*\([a-z_][a-z_]*\)[[:space:]]*=.*/\1/p' data/tirak.inp > "$tmp/shipped"
take "$tmp/shipped" data/tirak.inp "the settings keys" "$SETTING_NAME"
lacks "$tmp/doc" docs/settings.md "$tmp/man" "$MAN" "the settings keys"
lacks "$tmp/man" "$MAN" "$tmp/doc" docs/settings.md "the settings keys"
lacks "$tmp/shipped" data/tirak.inp "$tmp/man" "$MAN" "the settings keys"
lacks "$tmp/shipped" data/tirak.inp "$tmp/doc" docs/settings.md "the settings keys"

sed -n 's/.*{C::[A-Z_]*, "\([a-z_]*\)"}.*/\1/p' src/game/command_names.cpp > "$tmp/source"
take "$tmp/source" src/game/command_names.cpp "the command names" "$SETTING_NAME"
between "$MAN" '.\" command names' '.\" end of command names' roff > "$tmp/man"
take "$tmp/man" "$MAN" "the command names" "$SETTING_NAME"
between docs/settings.md '<!-- command names -->' '<!-- end of command names -->' markdown > "$tmp/doc"
take "$tmp/doc" docs/settings.md "the command names" "$SETTING_NAME"
for listed in "$MAN:$tmp/man" "docs/settings.md:$tmp/doc"; do
    lacks "$tmp/source" src/game/command_names.cpp "${listed#*:}" "${listed%%:*}" "the command names"
    lacks "${listed#*:}" "${listed%%:*}" "$tmp/source" src/game/command_names.cpp "the command names"
done

if [ -s "$tmp/problems" ]; then
    cat "$tmp/problems"
    exit 1
fi
