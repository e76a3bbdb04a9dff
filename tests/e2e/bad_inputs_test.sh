# Broken data files in the real game: each gives a clear line naming the
# file and a defined exit status, and nothing crashes. The README's table of
# bad inputs lists these cases with the tests that cover the others.
source "$(dirname "$0")/lib.sh" "$1" "$2"

out_has() { grep -qxF "$1" "$WORK/out"; }
err_has() { grep -qxF "$1" "$WORK/err"; }
last_err_is() { test "$(tail -n 1 "$WORK/err")" = "$1"; }

# Settings that are not numbers or not settings at all: unreadable lines are
# ignored and a number that is not one reads as 0, so the window falls back
# to the 4:3 rule.
fresh_data
printf 'width = wide\nheight = 600\nfulscreen = no\nthis line means nothing\n' > "$WORK/data/tirak.inp"
head -c 2000 /dev/urandom | tr -d '=' >> "$WORK/data/tirak.inp"
play_briefly
check "malformed tirak.inp: the game plays and ends with status 0" test "$EXIT_STATUS" -eq 0

# A Phong shader that does not compile.
fresh_data
echo 'void main( { }' > "$WORK/data/Shaders/phong.vert"
run_to_end
check "broken phong.vert: status 1" test "$EXIT_STATUS" -eq 1
check "broken phong.vert: the compiler's complaint is shown" grep -q 'syntax error' "$WORK/out"
check "broken phong.vert: the last line names the program" \
    last_err_is 'Could not compile phong shader program.'

# A particle shader that does not compile stops the game at once.
fresh_data
echo 'void main( { }' > "$WORK/data/Shaders/particlecalc.geom"
run_to_end
check "broken particlecalc.geom: status 1" test "$EXIT_STATUS" -eq 1
check "broken particlecalc.geom: named in one line" \
    err_has 'Failed to compile shader: Shaders/particlecalc.geom'

# A missing particle shader: the game plays on without the effect's colours.
fresh_data
rm "$WORK/data/Shaders/particlerender.frag"
play_briefly
check "missing particlerender.frag: named in one line" \
    out_has 'shader file Shaders/particlerender.frag does not exist.'
check "missing particlerender.frag: the game plays and ends with status 0" test "$EXIT_STATUS" -eq 0

# A model that is not an OBJ file at all: an image in its place.
fresh_data
cp "$WORK/data/tex/0cube.png" "$WORK/data/obj/ship.obj"
run_to_end
check "ship.obj not a model: status 1" test "$EXIT_STATUS" -eq 1
check "ship.obj not a model: named in one line" \
    last_err_is 'Cannot load "obj/ship.obj": it is missing or not a model the importer can read.'

# A model with points but no faces.
fresh_data
printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\np 1 2 3\n' > "$WORK/data/obj/ship.obj"
run_to_end
check "ship.obj without faces: status 1" test "$EXIT_STATUS" -eq 1
check "ship.obj without faces: named in one line" \
    last_err_is 'obj/ship.obj: the model has no faces to draw.'

# Textures that cannot be read: the game says which and plays on.
for broken in missing directory empty text; do
    fresh_data
    texture="$WORK/data/tex/0cube.png"
    case $broken in
        missing) rm "$texture" ;;
        directory) rm "$texture"; mkdir "$texture" ;;
        empty) : > "$texture" ;;
        text) echo 'not an image' > "$texture" ;;
    esac
    play_briefly
    check "$broken tex/0cube.png: named in one line" out_has "Couldn't load Image: tex/0cube.png"
    check "$broken tex/0cube.png: the game plays and ends with status 0" test "$EXIT_STATUS" -eq 0
done

# A prepared mip level of the wrong size is refused, not uploaded.
fresh_data
cp "$WORK/data/tex/0cube.png" "$WORK/data/tex/2cube.png"
play_briefly
check "tex/2cube.png of the wrong size: named in one line" \
    grep -qE '^tex/2cube\.png: mip level 2 must be [0-9]+\*[0-9]+; the level made from level 0 is used instead\.$' "$WORK/out"
check "tex/2cube.png of the wrong size: the game plays and ends with status 0" test "$EXIT_STATUS" -eq 0

finish
