# Sourced by the project's scripts: the Wine test environment.
#   wine_session_begin   private prefix (made once), Xvfb when DISPLAY is unset, persistent wineserver
#   wine_session_end     stops wineserver and Xvfb again; safe to call twice
# SB_BUILD names the build root (default build/); the prefix lives in $SB_BUILD/wine.

sb_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
: "${SB_BUILD:=$sb_root/build}"
export SB_BUILD
export WINEPREFIX="$SB_BUILD/wine"
export WINEARCH=win64
export WINEDEBUG=-all
export LC_ALL=zh_CN.UTF-8
export ALSA_CONFIG_PATH="$sb_root/tools/wine/asound.conf"
export SOUNDBOARD_CAPTURE="${SOUNDBOARD_CAPTURE:-$SB_BUILD/capture.wav}"
export WINEDLLOVERRIDES="mscoree,mshtml=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

sb_wineserver() {
  if command -v wineserver >/dev/null 2>&1; then wineserver "$@"; else /usr/lib/wine/wineserver "$@"; fi
}

sb_xvfb_pid=""

sb_start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  sb_xvfb_pid=$!
  local i
  for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.05
  done
  export DISPLAY=":$n"
}

# Registry settings the tests rely on, written when the prefix is made and again whenever they
# change (the ready mark holds their version).
sb_prefix_settings=2
sb_init_prefix() {
  mkdir -p "$SB_BUILD"
  if [ ! -d "$WINEPREFIX" ]; then
    echo "soundboard: creating the Wine prefix $WINEPREFIX"
    wineboot -u >/dev/null 2>&1 || true
  fi
  # The Chinese system faces, and the dialog face Wine maps to one of them, all stand for the
  # face of the CJK font that carries hand-made 12-pixel glyphs, as the real ones do: its outline
  # sibling drops the horizontal strokes of small text ("出" reads as "ı|ı").
  local fonts='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' face
  for face in "宋体" "SimSun" "新宋体" "NSimSun" "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add "$fonts" /v "$face" /d "WenQuanYi Zen Hei Sharp" /f >/dev/null 2>&1
  done
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
  # A crashing test must fail, not wait for someone to close a dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  sb_wineserver -w
  echo "$sb_prefix_settings" > "$WINEPREFIX/.soundboard-ready"
}

wine_session_begin() {
  [ -n "${SB_WINE_SESSION:-}" ] && return 0
  if [ -z "${DISPLAY:-}" ]; then sb_start_xvfb; fi
  if [ "$(cat "$WINEPREFIX/.soundboard-ready" 2>/dev/null)" != "$sb_prefix_settings" ]; then sb_init_prefix; fi
  sb_wineserver -p </dev/null >/dev/null 2>&1
  # Start Wine's services now, detached from any caller's output.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  export SB_WINE_SESSION=1
  # A session stopped from outside (a timeout, Ctrl+C) still takes its Xvfb and wineserver down.
  trap wine_session_end EXIT
  trap 'wine_session_end; exit 130' INT
  trap 'wine_session_end; exit 143' TERM HUP
}

wine_session_end() {
  [ -n "${SB_WINE_SESSION:-}" ] || return 0
  sb_wineserver -k >/dev/null 2>&1 || true
  sb_wineserver -w >/dev/null 2>&1 || true
  if [ -n "$sb_xvfb_pid" ]; then
    kill "$sb_xvfb_pid" 2>/dev/null || true
    wait "$sb_xvfb_pid" 2>/dev/null || true
    sb_xvfb_pid=""
  fi
  unset SB_WINE_SESSION
}
