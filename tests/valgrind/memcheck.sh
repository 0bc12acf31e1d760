#!/usr/bin/env bash
# Memcheck of a short showcase capture: the player run under valgrind in a fresh copy of the showcase
# folder. Fails on any memcheck error or definite leak not suppressed by vortel.supp, on a player exit
# status other than 0, and on missing frames. Arguments: the build's bin folder, the suppressions file.
set -euo pipefail
bin=$1
suppressions=$2
work=$PWD/memcheck_showcase
rm -rf "$work"
mkdir -p "$work"
cp "$bin"/showcase/* "$work"/
cd "$work"

# 26..72 s at one frame a second: the swarm, flame, morph, model and picture scenes, up to the end of the
# demo so that every event gets its last call before the libraries quit.
status=0
LP_NUM_THREADS=0 valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
    --errors-for-leak-kinds=definite --show-leak-kinds=definite --keep-debuginfo=yes --num-callers=40 \
    --suppressions="$suppressions" --log-file=memcheck.log \
    "$bin"/player --capture frames --size 64x36 --fps 1 --from 26000 --to 72000 showcase.xml || status=$?

grep -E "ERROR SUMMARY|definitely lost:|indirectly lost:|suppressed:" memcheck.log || true
frames=$(find frames -name 'frame_*.png' | wc -l)
if [ "$status" -ne 0 ] || [ "$frames" -ne 47 ]; then
    echo "memcheck: player exit status $status, $frames frames (47 expected); the log follows" >&2
    cat memcheck.log >&2
    echo "--- Errorlog.txt" >&2
    cat Errorlog.txt >&2 || true
    exit 1
fi
