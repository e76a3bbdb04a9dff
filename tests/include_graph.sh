#!/usr/bin/env bash
# The quoted includes of src/, tools/ and bench/ as a graph of modules (a path
# without its extension: x.h and x.cpp are one). Fails, naming the files, on a
# circle between modules and on an include that points up the house.
# Usage: include_graph.sh ROOT [--list]   (--list prints the graph too)
set -euo pipefail
cd "$1"
# The floors, a room a line: a room may include from its own floor and below.
FLOORS='
tools 9
bench 9
src/app 5
src/render 4
src/particles 4
src/text 4
src/sound 4
src/world 3
src/editor 3
src/gl 3
src/settings 2
src/game 1
src/config 1
src/language 1
src/progress 1
src/transforms 1
src/platform 1
src/result 0'
files=$(find src tools bench -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
# shellcheck disable=SC2086
awk -v list="${2:-}" -v me="tests/include_graph.sh" '
function room(f) { return f ~ /^src\// ? substr(f, 1, index(substr(f, 5), "/") + 3) : substr(f, 1, index(f, "/") - 1) }
function mod(f) { sub(/\.[^.\/]*$/, "", f); return f }
function norm(p,   a, s, n, i, k, out) {
    n = split(p, a, "/"); k = 0
    for (i = 1; i <= n; i++) if (a[i] == "..") k--; else if (a[i] != "." && a[i] != "") s[++k] = a[i]
    out = s[1]; for (i = 2; i <= k; i++) out = out "/" s[i]
    return out
}
# The shortest circle through v in the graph adj, as the includes that make
# it (via), starting at its first node by name; "" when v is on none.
function circle(v, adj, via,   q, h, t, par, e, n, i, u, w, c, m, j, s, out) {
    h = 1; t = 0; q[++t] = v
    while (h <= t) {
        u = q[h++]; n = split(adj[u], e, " ")
        for (i = 1; i <= n; i++) {
            if ((w = e[i]) == v) {
                for (m = 0; u != v; u = par[u]) c[++m] = u
                c[++m] = v; s = m
                for (j = 1; j <= m; j++) if (c[j] < c[s]) s = j
                for (j = 0; j < m; j++) out = out (j ? ", " : "") via[c[(s - j + m - 1) % m + 1], c[(s - j + m - 2) % m + 1]]
                return out
            }
            if (!(w in par)) { par[w] = u; q[++t] = w }
        }
    }
    return ""
}
FNR == 1 { part++ }
part == 1 && NF == 2 { floor[$1] = $2; next }
part == 2 {
    exists[$0] = 1
    if (!(room($0) in floor) && !(room($0) in told)) { print $0 ": " room($0) " has no floor in " me; told[room($0)] = bad = 1 }
    if (!(mod($0) in known)) { known[mod($0)] = 1; nodes[++count] = mod($0) }
    next
}
part == 3 {
    file = substr($0, 1, index($0, ":") - 1); split($0, q, "\"")
    dir = file; sub(/\/[^\/]*$/, "", dir)
    to = norm(dir "/" q[2]); if (!(to in exists)) to = norm("src/" q[2])
    u = mod(file); v = mod(to)
    if (!(to in exists) || u == v) next
    if (!((u, v) in via)) { via[u, v] = file " -> " to; adj[u] = adj[u] " " v }
    ru = room(file); rv = room(to)
    if (ru != rv && !((ru, rv) in room_via)) { room_via[ru, rv] = file " -> " to; room_adj[ru] = room_adj[ru] " " rv }
    if (room(file) in floor && room(to) in floor && floor[room(to)] > floor[room(file)]) {
        print file ": includes " to ", up the house from " room(file) " (floor " floor[room(file)] ") to " room(to) " (floor " floor[room(to)] ")"
        bad = 1
    }
}
END {
    for (i = 1; i <= count; i++) {
        if (list == "--list") print nodes[i] " (floor " floor[room(nodes[i])] "):" adj[nodes[i]]
        if ((c = circle(nodes[i], adj, via)) != "" && !(c in said)) { said[c] = 1; circles[++found] = c; bad = 1 }
    }
    for (r in floor)
        if ((c = circle(r, room_adj, room_via)) != "" && !(c in said)) { said[c] = 1; room_circles[++rooms] = c; bad = 1 }
    for (i = 1; i <= found; i++) print "include circle: " circles[i]
    for (i = 1; i <= rooms; i++) print "room circle: " room_circles[i]
    exit bad
}' <(echo "$FLOORS") <(echo "$files") <(grep -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' $files)
