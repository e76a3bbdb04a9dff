#!/usr/bin/env bash
# Writes a stress level to standard output: a cubic grid of SIZE cells along
# each edge, every cell filled. The ship starts in a corner with the goal
# right in front of it, one pair of beamers sits in the far corner, and
# every other cell holds a cube, so the renderer draws one model per cell.
# Usage: make_stress_level.sh SIZE > FILE   (SIZE from 3 up)
set -euo pipefail
size=${1:-}
if ! [[ "$size" =~ ^[0-9]+$ ]] || [ "$size" -lt 3 ]; then
    echo "usage: $0 SIZE  (a whole number from 3 up)" >&2
    exit 2
fi
awk -v n="$size" 'BEGIN {
    last = n - 1
    print "# Stress level for tirak-bench: a " n " x " n " x " n " grid with every cell"
    print "# filled. Made by bench/make_stress_level.sh " n "; do not edit by hand."
    print "#"
    print "# The ship (5) starts at 0 0 0 facing +x with the goal (6) in front of"
    print "# it; a pair of beamers (2) fills the far corner; the rest are cubes (1)."
    print ""
    print "size = " n
    print "cubes = " n * n * n
    print ""
    printf "level ="
    for (z = 0; z < n; ++z)
        for (y = 0; y < n; ++y)
            for (x = 0; x < n; ++x) {
                value = 1
                if (x == 0 && y == 0 && z == 0) value = 5
                else if (x == 1 && y == 0 && z == 0) value = 6
                else if (y == last && z == last && (x == last || x == last - 1)) value = 2
                printf "%s%d %d %d %d\n", (x + y + z == 0 ? " " : "        "), x, y, z, value
            }
    print ""
    print "EndConfigFile"
}'
