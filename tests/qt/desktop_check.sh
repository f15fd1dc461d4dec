#!/usr/bin/env bash
# The desktop check: the probe program, from a fresh folder with the demo
# venue served by the reference server and a playlist of four clips, opens
# every window on a virtual X display under openbox and checks each
# (qt/probe/desktop_walk.h). Passes when the walk found no problem; the
# screenshots of the windows with problems stay in OUT_DIR. With
# PICTURE_DIR it also saves the user manual's pictures there.
# Skipped (77) where there is no Xvfb; scripts/install-deps installs it.
# Usage: desktop_check.sh PROBE SERVER OUT_DIR [PICTURE_DIR]
set -euo pipefail
probe=$(realpath "${1:?probe program}")
server_program=$(realpath "${2:?vantic-server}")
out=${3:?output directory}
pictures=${4:-}
root=$(cd "$(dirname "$0")/../.." && pwd)

if ! command -v xvfb-run >/dev/null || ! command -v Xvfb >/dev/null; then
    echo "desktop check skipped: no Xvfb here (scripts/install-deps installs xvfb and openbox)"
    exit 77
fi
if ! command -v openbox >/dev/null; then
    echo "desktop: no openbox, so the windows are checked without a window manager"
fi
rm -rf "$out"
mkdir -p "$out"
out=$(realpath "$out")
[ -z "$pictures" ] || pictures=$(mkdir -p "$pictures" && realpath "$pictures")

scratch=$(mktemp -d /tmp/vantic-desktop.XXXXXX)
# The server and the release-venue helpers expect $build/server/vantic-server.
build=$(dirname "$(dirname "$server_program")")
. "$root/scripts/lib/release-venue.sh"
cleanup() {
    stop_started
    rm -rf "$scratch"
}
trap cleanup EXIT

venue=$scratch/venue
program=$scratch/program
mkdir -p "$program" "$scratch/media"
"$server_program" seed-demo "$venue" >"$scratch/accounts.txt"
password=$(awk '$1 == "account" && $2 == "sovra" { print $3 }' "$scratch/accounts.txt")
serve_venue desktop "$scratch" "$venue"
trap cleanup EXIT  # serving set a trap of its own

# A playlist whose day plan shows every kind of clip: playing all day, in
# hours, at a time, run out and not yet due.
for clip in lobby.mpg office.mpg noon.mpg winter.mpg spring.mpg; do
    head -c 4096 /dev/zero >"$scratch/media/$clip"
done
day() { date -d "$1" +%m/%d/%Y; }
m=$scratch/media
printf '%s\r\n' \
    "0	$m/lobby.mpg	Auto		4 KB	All	loop	None	None	A	" \
    "0	$m/office.mpg	Auto		4 KB	All	loop from 08:00 to 18:00	None	None	A	" \
    "0	$m/noon.mpg	Auto		4 KB	All	13:30	None	None	A	" \
    "0	$m/winter.mpg	Auto		4 KB	All	loop	$(day '-60 days')	$(day '-1 day')	A	" \
    "0	$m/spring.mpg	Auto		4 KB	All	4/hour from 06:00 to 12:00	$(day '+7 days')	None	A	" \
    >"$scratch/Lobby.PLY"

cp "$probe" "$program/vantic-controller"
cp "$venue/p.key" "$program/p.key"
cat >"$program/config.ini" <<CONFIG
Distribution_Server=$address
Distribution_Username=sovra
Distribution_Userpass=$password
Distribution_Userpass_Remember=1
Last_PlayList_File=$scratch/Lobby.PLY
CONFIG

unset QT_QPA_PLATFORM
# Qt and the X libraries keep allocations for the life of the process.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
status=0
TMPDIR=$scratch XDG_RUNTIME_DIR=$scratch VANTIC_DESKTOP_WALK=$out VANTIC_DESKTOP_PICTURES=$pictures \
    timeout 300 xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 1; fi
        "$0"' "$program/vantic-controller" >"$out/walk.out" 2>"$out/walk.err" || status=$?
cat "$out/walk.out"
grep '^desktop: ' "$out/walk.err" >&2 || true
if [ "$status" -ne 0 ]; then
    echo "desktop check failed (status $status); screenshots and output in $out" >&2
    [ -s "$out/walk.out" ] || cat "$out/walk.err" >&2
    exit 1
fi
echo "desktop check passed"
