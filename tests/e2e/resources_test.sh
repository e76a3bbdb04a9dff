# Loading the rendering resources in the real game: the whole data set
# loads without a failure line; a missing shader or model ends the game
# with its message before the first frame.
source "$(dirname "$0")/lib.sh" "$1" "$2"

count() { grep -c "$1" "$WORK/out"; }

fresh_data
start_game
check "with the whole data set a window opens" test -n "$WINDOW"
check "the game gets to its frames" wait_for_title '^fps: ' 10
send_keys Escape
wait_for_exit 5
check "the game ends with status 0" test "$EXIT_STATUS" -eq 0
check "the Phong program links, and links again with out_color bound" \
    test "$(grep -c '^Shader linking succesfull\.$' "$WORK/out")" -eq 2
check "one size line per image: 3 textures at level 0, 11 with 4 levels" \
    test "$(count '^The size of the image is: tex/[0-3]')" -eq 47
check "no image fails to load" test "$(count "Couldn't load")" -eq 0
check "standard error holds only the probe, the missing .geom and the effect's progress" \
    test "$(grep -v -e '^Illegal operation did NOT cause an error message' \
        -e '^Geometric shader file Shaders/phong.geom does not exist\.$' \
        -e '^> [A-Z][a-z]' "$WORK/err" | wc -l)" -eq 0

fresh_data
rm "$WORK/data/Shaders/phong.frag"
run_to_end
check "without phong.frag the game ends with status 1" test "$EXIT_STATUS" -eq 1
check "it names the missing file and the program" grep -qx 'Fragment shader file Shaders/phong.frag does not exist.' "$WORK/err"
check "then says the program could not be built" \
    test "$(tail -n 1 "$WORK/err")" = 'Could not compile phong shader program.'
check "and loads no model" test "$(count '^The size of the image')" -eq 0

fresh_data
rm "$WORK/data/obj/cone.obj"
run_to_end
check "without cone.obj the game ends with status 1" test "$EXIT_STATUS" -eq 1
check "its last line is the importer's, naming the file" \
    test "$(tail -n 1 "$WORK/out")" = 'Unable to open file "obj/cone.obj".'
check "the four models before it were loaded" \
    test "$(count '^The size of the image is: tex/0')" -eq 4

fresh_data
printf '# This model has no faces, so no mesh: it would shift every later model.\n' \
    > "$WORK/data/obj/goal_new.obj"
run_to_end
check "a model without a mesh ends the game with status 1" test "$EXIT_STATUS" -eq 1
check "with one line naming it" \
    test "$(tail -n 1 "$WORK/err")" = 'obj/goal_new.obj: the model has no mesh to draw.'

finish
