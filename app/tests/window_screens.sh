#!/usr/bin/env bash
# The board's window on the virtual display: screenshots of the main window and of the hotkey
# dialog over it go to <build root>/screenshots; Esc must close each window and the program must
# end with 0. Runs inside the Wine session (tools/wine/with-session).
#   window_screens.sh <board program> <dialog program> <screenshot folder>
set -uo pipefail
board="$1"; dialog_program="$2"; shots="$3"
mkdir -p "$shots"
status=0

# Waits until a window with this title shows, at most 30 s.
wait_for() {
  local i
  for i in $(seq 60); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.5
  done
  echo "no window named $1"; return 1
}

finish() {  # pid, what
  local i
  for i in $(seq 20); do kill -0 "$1" 2>/dev/null || break; sleep 0.5; done
  if kill -0 "$1" 2>/dev/null; then echo "$2: still running after Esc"; kill "$1"; status=1; return; fi
  wait "$1"; local code=$?
  echo "$2: exit code $code"
  [ "$code" -eq 0 ] || status=1
}

cd "$(dirname "$board")"
wine "$board" & pid=$!
if wait_for "岚铎声板"; then
  sleep 1
  import -window root "$shots/main-window.png" && echo "saved $shots/main-window.png"
  # With no window manager nothing gives the board the keyboard focus: give it, then press Esc
  # through XTEST like a user would; once more if the first press came before Wine took the focus.
  for attempt in 1 2 3; do
    window=$(xdotool search --onlyvisible --name "岚铎声板" 2>/dev/null | head -1)
    [ -n "$window" ] || break
    xdotool windowfocus --sync "$window" 2>/dev/null
    sleep 0.3
    xdotool key Escape
    for i in $(seq 6); do kill -0 "$pid" 2>/dev/null || break 2; sleep 0.5; done
  done
else
  status=1
fi
finish $pid "board"

cd "$(dirname "$dialog_program")"
wine "$dialog_program" & pid=$!
if wait_for "设置快捷键"; then
  sleep 1
  import -window root "$shots/hotkey-dialog.png" && echo "saved $shots/hotkey-dialog.png"
  # The program presses Esc itself 3 s after the dialog opened, and again 3 s after it closed.
  for i in $(seq 16); do
    xdotool search --onlyvisible --name "设置快捷键" >/dev/null 2>&1 || break
    sleep 0.5
  done
  if xdotool search --onlyvisible --name "设置快捷键" >/dev/null 2>&1; then echo "dialog still open after Esc"; status=1; fi
else
  status=1
fi
finish $pid "board with dialog"
exit $status
