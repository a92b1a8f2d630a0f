#!/usr/bin/env bash
# Runs a command on a desktop of its own, as a site laptop has one: an X
# server of the given size (Xvfb), a window manager that frames the windows
# (openbox) and a 30-pixel panel that the work area leaves out.
#   desktop_session.sh WIDTHxHEIGHT PANEL_PROGRAM COMMAND [ARGS...]
# Exits 77 (ctest: skipped) when Xvfb or openbox is not installed;
# scripts/deps --test installs them.
set -uo pipefail
size=$1 panel=$2
shift 2
for tool in Xvfb openbox; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (bash scripts/deps --test)"
    exit 77
  fi
done

dir=$(mktemp -d)
pids=()
end() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$dir"
}
trap end EXIT

# Waits up to twenty seconds for a file to hold a whole line.
wait_line() {
  for _ in $(seq 400); do
    [[ -s $1 && $(tail -c 1 "$1" | od -An -c) == *'\n'* ]] && return 0
    sleep 0.05
  done
  return 1
}

# The server picks a free display and writes its number once it takes clients.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
pids+=($!)
if ! wait_line "$dir/display"; then
  echo "Xvfb did not start:"; cat "$dir/xvfb.log"; exit 1
fi
export DISPLAY=":$(head -n 1 "$dir/display")"

XDG_CONFIG_HOME="$dir" openbox --sm-disable >"$dir/openbox.log" 2>&1 &
pids+=($!)
"$panel" 30 >"$dir/panel.out" 2>&1 &
pids+=($!)
if ! wait_line "$dir/panel.out" || ! grep -qx ready "$dir/panel.out"; then
  echo "the desktop did not come up:"; cat "$dir/panel.out" "$dir/openbox.log"; exit 1
fi

QT_QPA_PLATFORM=xcb "$@"
