# The committed models and textures are exactly what tirak-make-data makes:
# nobody edited a generated file by hand, and the generator still makes
# what the game ships.
# Usage: data_reproduction_test.sh GENERATOR DATA_DIR
set -u
GENERATOR=$1
DATA=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

if ! "$GENERATOR" "$WORK"; then
    echo "FAIL: the generator failed"
    exit 1
fi
status=0
for directory in obj tex; do
    if diff -r "$DATA/$directory" "$WORK/$directory" > "$WORK/differences"; then
        echo "ok: data/$directory is what the generator makes"
    else
        echo "FAIL: data/$directory differs from what the generator makes:"
        cat "$WORK/differences"
        status=1
    fi
done
exit $status
