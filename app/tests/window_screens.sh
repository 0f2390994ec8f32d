#!/usr/bin/env bash
# The board's window on the virtual display: screenshots of the skinned main window (page 1,
# a hot button, page 6, the dropped channel list) and of the hotkey dialog over it go to
# <build root>/screenshots; Esc must close each window and the program must
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

# Whether two screenshots differ inside the given area (WxH+X+Y of the screen); fails the run
# when they do not.
differs() {  # first, second, area, what
  local count
  convert "$shots/$1" -crop "$3" +repage "$shots/.first.png"
  convert "$shots/$2" -crop "$3" +repage "$shots/.second.png"
  count=$(compare -metric AE "$shots/.first.png" "$shots/.second.png" null: 2>&1 | cut -d' ' -f1)
  rm -f "$shots/.first.png" "$shots/.second.png"
  echo "$4: $count pixels changed in $3"
  if ! [ "${count%.*}" -gt 0 ] 2>/dev/null; then echo "$4: nothing changed"; status=1; fi
}

# The program's icon at the left of the caption, 17 x 17 at (9, 5): its loudspeaker is the only
# pure white there (the sky's clouds are not, and the title starts at x = 29).
caption_icon() {  # screenshot, window left, window top
  local count
  count=$(convert "$shots/$1" -crop "17x17+$(($2 + 9))+$(($3 + 5))" +repage txt:- | grep -c '#FFFFFF')
  echo "caption icon: $count white pixels"
  [ "$count" -ge 10 ] || { echo "caption icon: not drawn"; status=1; }
}

# Small CJK text drawn whole: the label "输出通道选择：" (12-pixel glyphs from x = 16 at y = 475)
# must keep the horizontal strokes of "出" (two of at least 5 pixels) and "通" (four). A font
# that loses them at this size leaves "出" as "ı|ı" (none) and "通" with two.
stroke_rows() {  # screenshot, area
  convert "$shots/$1" -crop "$2" +repage -colorspace gray -depth 8 txt:- | awk '
    BEGIN { FS = "[,: ()]+" }
    /^#/ { next }
    {
      if ($2 != y) { if (best >= 5) rows++; best = 0; run = 0; y = $2 }
      if ($3 < 110) { run++; if (run > best) best = run } else run = 0
    }
    END { if (best >= 5) rows++; print rows + 0 }'
}
whole_text() {  # screenshot, window left, window top
  local chu tong
  chu=$(stroke_rows "$1" "12x14+$(($2 + 28))+$(($3 + 475))")
  tong=$(stroke_rows "$1" "12x14+$(($2 + 40))+$(($3 + 475))")
  echo "label text: $chu stroke rows in 出, $tong in 通"
  [ "$chu" -ge 2 ] && [ "$tong" -ge 4 ] || { echo "label text: strokes missing"; status=1; }
}

# The skinned board as its users see it: page 1 at rest, a sound button under the mouse, page 6
# after a click on the sixth category, and the channel list dropped. Positions are the main
# window's units: the strip label at (16, 80) with 70-pixel tabs, page 1's button "搞笑1" at
# (24, 248) 64 x 32, the channel box at (104, 472) 248 x 20.
board_looks() {  # window
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + 230)) $((Y + 60)); sleep 0.5
  import -window root "$shots/main-window.png" && echo "saved $shots/main-window.png"
  caption_icon main-window.png "$X" "$Y"
  whole_text main-window.png "$X" "$Y"
  xdotool mousemove $((X + 56)) $((Y + 264)); sleep 0.8
  import -window root "$shots/hot-button.png" && echo "saved $shots/hot-button.png"
  differs main-window.png hot-button.png "64x32+$((X + 24))+$((Y + 248))" "hot button"
  xdotool mousemove $((X + 16 + 2 + 5 * 73 + 35)) $((Y + 100)) click 1; sleep 0.3
  xdotool mousemove $((X + 230)) $((Y + 60)); sleep 1
  import -window root "$shots/page-6.png" && echo "saved $shots/page-6.png"
  differs main-window.png page-6.png "420x300+$((X + 26))+$((Y + 130))" "page 6"
  xdotool mousemove $((X + 104 + 240)) $((Y + 482)) click 1; sleep 1
  import -window root "$shots/channel-list.png" && echo "saved $shots/channel-list.png"
  differs page-6.png channel-list.png "248x40+$((X + 104))+$((Y + 493))" "channel list"
  xdotool key Escape; sleep 0.5
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
  board_looks "$(xdotool search --onlyvisible --name "岚铎声板" 2>/dev/null | head -1)"
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
