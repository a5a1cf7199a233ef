#!/bin/sh
# The editor on a real X server, as the window system sees it: the title
# exactly as the editor sets it (no name added by the toolkit) with the mark
# of unsaved changes, the keyboard given back to the window after a box, a
# start that no special text file can freeze, and unsaved edits that outlive
# a kill.
#
#   x11_window_test.sh EDITOR SOURCE_DIR
#
# Exits 77 (skipped) without Xvfb or xdotool.
set -eu
editor=$(readlink -f "$1")
source=$(readlink -f "$2")
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77

work=$(mktemp -d)
# Recovery files of the editors started here stay here.
export XDG_STATE_HOME="$work/state"
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# -noreset: the server would otherwise start over whenever its last client
# goes (an editor killed), refusing the next editor while it does.
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x800x24 3>"$work/display" 2>/dev/null &
pids="$pids $!"
for _ in $(seq 150); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
DISPLAY=:$(cat "$work/display")
export DISPLAY
unset QT_QPA_PLATFORM

# Retries a check for up to 15 s: a busy machine (the sanitizer build beside
# other tests) may take its time to answer.
eventually() {
    for _ in $(seq 150); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# The one visible window whose whole name matches, waited for up to 15 s.
# Searched again and again rather than with --sync: a search that meets a
# window going away (an editor just killed) gives up at once.
window_named() {
    for _ in $(seq 150); do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$found" ] && echo "$found" && return 0
        sleep 0.1
    done
    echo "no window named '$1' among: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|')" >&2
    return 1
}

# --- A skin that is a FIFO, a language list naming a device, settings linked
# to one: the start must reach the language question without waiting.
mkdir -p "$work/special/lang" "$work/special/skin"
mkfifo "$work/special/skin/skin.txt"
printf '/dev/zero\nlang/English.txt\n' >"$work/special/lang/langList.txt"
cp "$source/lang/English.txt" "$work/special/lang/"
ln -s /dev/zero "$work/special/settings.txt"
(cd "$work/special" && exec "$editor") &
editor_pid=$!
pids="$pids $editor_pid"
box=$(window_named '^Kavel\.def Editor$') || fail "the start froze before the language question"
main=$(window_named '^Kavel\.def Editor v1\.00$') || fail "no main window"
[ "$(xdotool getwindowname "$main")" = "Kavel.def Editor v1.00" ] ||
    fail "idle title: '$(xdotool getwindowname "$main")'"
xdotool windowfocus --sync "$box" key Return
kill "$editor_pid"
wait "$editor_pid" 2>/dev/null || true

# --- A document: its title, the "*" of unsaved changes, the close question.
mkdir -p "$work/doc/lang"
cp "$source/samples/kavel.def" "$source/samples/textdb_en.def" "$work/doc/"
cp "$source/lang/langList.txt" "$source/lang/English.txt" "$work/doc/lang/"
printf 'lang/English.txt' >"$work/doc/settings.txt"
(cd "$work/doc" && exec "$editor" kavel.def textdb_en.def) &
editor_pid=$!
pids="$pids $editor_pid"
files=" [$work/doc/kavel.def] [$work/doc/textdb_en.def]"
main=$(window_named '^Kavel\.def Editor v1\.00 \[') || fail "no document window"
title() { xdotool getwindowname "$main"; }
title_is() { [ "$(title)" = "$1" ]; }
focus_is() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
[ "$(title)" = "Kavel.def Editor v1.00$files" ] || fail "title: '$(title)'"

xdotool windowfocus --sync "$main" key ctrl+i
# The "*" after the version, and after the bracket of the file changed.
eventually title_is "Kavel.def Editor v1.00* [$work/doc/kavel.def]* [$work/doc/textdb_en.def]" ||
    fail "title after an edit: '$(title)'"

# Closing asks; Escape cancels, and the keys go to the window again.
xdotool key alt+F4
window_named '^Kavel\.def Editor$' >/dev/null || fail "closing with changes asked nothing"
xdotool key Escape
eventually focus_is "$main" || fail "the keyboard did not come back after the box"
xdotool key ctrl+z
eventually title_is "Kavel.def Editor v1.00$files" || fail "title after undo: '$(title)'"

# Unmodified again: it closes without a question, and the file is untouched.
xdotool key alt+F4
for _ in $(seq 150); do kill -0 "$editor_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$editor_pid" 2>/dev/null && fail "the unmodified document did not close"
cmp -s "$source/samples/kavel.def" "$work/doc/kavel.def" || fail "the file was written"

# --- Killed with unsaved edits: the next start offers them (Recover is the
# default button) and recovers them byte for byte. Told to end, the editor
# keeps its edits at once.
copies() { ls "$XDG_STATE_HOME/kavel-editor/"*.kavelrecovery 2>/dev/null | wc -l; }
copies_are() { [ "$(copies)" = "$1" ]; }
recovered_and_saved() { cmp -s "$work/expected.def" "$work/doc/kavel.def" && copies_are 0; }
(cd "$work/doc" && exec "$editor" kavel.def textdb_en.def) &
editor_pid=$!
pids="$pids $editor_pid"
main=$(window_named '^Kavel\.def Editor v1\.00 \[') || fail "no document window"
xdotool windowfocus --sync "$main" key ctrl+i
eventually copies_are 1 || fail "no recovery file after an edit"
kill -KILL "$editor_pid"
wait "$editor_pid" 2>/dev/null || true
{ head -c 36 "$work/doc/kavel.def"; cat "$work/doc/kavel.def"; } >"$work/expected.def"

(cd "$work/doc" && exec "$editor") &
editor_pid=$!
pids="$pids $editor_pid"
box=$(window_named '^Kavel\.def Editor$') || fail "the unsaved edits were not offered"
xdotool windowfocus --sync "$box" key Return
main=$(window_named '^Kavel\.def Editor v1\.00\* \[') || fail "nothing recovered"
xdotool windowfocus --sync "$main" key ctrl+s
eventually recovered_and_saved || fail "the recovered records differ, or the recovery file outlived the save"

xdotool key ctrl+i
eventually title_is "Kavel.def Editor v1.00* [$work/doc/kavel.def]* [$work/doc/textdb_en.def]" ||
    fail "no unsaved edit before SIGTERM"
kill -TERM "$editor_pid"
status=0
wait "$editor_pid" 2>/dev/null || status=$?
[ "$status" = 143 ] || fail "SIGTERM ended the editor with status $status"
[ "$(copies)" = 1 ] || fail "SIGTERM did not keep the unsaved edit"
echo "ok"
