#!/usr/bin/env bash
# Takes the picture of the editor's window that the software-centre entry
# (the metainfo's screenshot) shows: the sample document on a virtual X
# server, the options screen selected.
#
#   scripts/screenshot.sh [OUT.png]      (default build/screenshots/main-window.png)
#
# Needs Xvfb and xdotool (scripts/packages.txt) and ImageMagick's import
# (package imagemagick). Builds into build/ first, as scripts/run.sh does.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/build/screenshots/main-window.png}"
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null ||
        { echo "screenshot.sh: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2; exit 2; }
done
"$root/scripts/build.sh" "$root/build" >/dev/null

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# The editor's working folder, as a user's first start makes it, English chosen.
mkdir -p "$work/folder"
cp -r "$root/lang" "$root/readme_en.txt" "$root/samples" "$work/folder/"
printf 'lang/English.txt' >"$work/folder/settings.txt"

Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x800x24 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "screenshot.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(cat "$work/display")"
export DISPLAY
unset QT_QPA_PLATFORM

(cd "$work/folder" && exec "$root/build/app/kavel-editor" samples/kavel.def samples/textdb_en.def) &
pids+=($!)
main="$(timeout 20 xdotool search --sync --onlyvisible --name '^Kavel\.def Editor v1\.00 \[' | head -n 1)"
[[ -n "$main" ]] || { echo "screenshot.sh: the editor's window did not appear" >&2; exit 1; }

# Edit > Go to record: the options screen, record 11.
xdotool windowfocus --sync "$main" key ctrl+g
box="$(timeout 10 xdotool search --sync --onlyvisible --name '^Go to' | head -n 1)"
[[ -n "$box" ]] || { echo "screenshot.sh: the Go to box did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$box" type 11
xdotool key Return
sleep 1  # the fade-in and the preview's redraw

mkdir -p "$(dirname "$out")"
import -window "$main" "$out"
echo "$out"
