#!/usr/bin/env bash
# Starts the real program on the offscreen platform in a directory of its
# own, lets it show its window, and has it close as the user would. Passes
# when it exits 0, saved its window and told its row count, stored its
# layout on the way out and wrote the stall log it was asked for.
# Usage: smoke_controller.sh PATH_TO_vantic-controller
set -euo pipefail
program=${1:?program}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

cp "$program" "$dir/vantic-controller"
printf 'key' >"$dir/p.key"
export TMPDIR=$dir
export XDG_RUNTIME_DIR=$dir  # the single-instance lock and socket of this run only
export QT_QPA_PLATFORM=offscreen
export VANTIC_SCREENSHOT=$dir/main.png
export VANTIC_SCREENSHOT_WAIT=0
export VANTIC_STALL_LOG=$dir/stalls.txt

timeout 90 "$dir/vantic-controller" >"$dir/out.txt"
test -s "$dir/main.png" || { echo "no screenshot"; exit 1; }
# No server here: the list it pictured is empty, and it says so.
grep -qx 'rows 0' "$dir/out.txt" || { echo "no row count: $(cat "$dir/out.txt")"; exit 1; }
grep -q '^Main_Window_Dim_dx=' "$dir/config.ini" || { echo "layout not stored"; exit 1; }
grep -q '^longest [0-9]* [0-9]*$' "$dir/stalls.txt" || { echo "no stall log"; exit 1; }
echo "smoke: started, showed the window, closed cleanly"
