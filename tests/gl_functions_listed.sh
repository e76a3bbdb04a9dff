#!/usr/bin/env bash
# Every OpenGL function that the game calls through one of GLEW's pointers is
# in the list that start-up checks, so that a context without it ends the
# game with its line instead of a jump through a null pointer. The geometry
# shader's glProgramParameteri is called only where the context has it.
# Usage: gl_functions_listed.sh ROOT GLEW_HEADER
set -euo pipefail
cd "$1"
listed=$(grep -oE 'GL_FUNCTION\(gl[A-Za-z0-9]+\)' src/render/gl_functions.cpp | sed 's/GL_FUNCTION(\(.*\))/\1/' | sort -u)
pointers=$(sed -nE 's/^#define (gl[A-Za-z0-9]+) GLEW_GET_FUN\(.*/\1/p' "$2" | sort -u)
called=$(grep -rhoE '\bgl[A-Z][A-Za-z0-9]*\(' src | tr -d '(' | grep -vE '^glProgramParameteri(EXT|ARB)$' | sort -u)
unlisted=$(comm -12 <(echo "$called") <(echo "$pointers") | comm -23 - <(echo "$listed"))
[ -z "$unlisted" ] || { echo "called but not in src/render/gl_functions.cpp:" $unlisted; exit 1; }
[ -n "$listed" ] && [ -n "$pointers" ]
