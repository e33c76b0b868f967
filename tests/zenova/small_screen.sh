#!/usr/bin/env bash
# Zenova on a virtual X server only 599 pixels high: the program must say that the screen is
# too small, and end with status 1 once the message is confirmed.
#   small_screen.sh ZENOVA LOCATION_LIST
set -euo pipefail

if [ "${1:-}" = --inside ]; then
  zenova=$2 work=$3
  cd "$work"
  # The X keyboard library copies a length-bounded name with strndup, which the sanitizers'
  # strict string checks read past; the library is not ours, so that check is off here.
  if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="${ASAN_OPTIONS//strict_string_checks=1/strict_string_checks=0}"
  fi
  QT_QPA_PLATFORM=xcb "$zenova" &
  pid=$!
  # The message box is the window captioned "Information:".
  box=$(timeout 60 xdotool search --sync --onlyvisible --name '^Information:$' | head -n 1)
  if [ -z "$box" ]; then
    echo "no message box" >&2
    kill "$pid" 2>/dev/null
    exit 1
  fi
  xdotool windowfocus --sync "$box" key --clearmodifiers Return
  status=0
  timeout 60 tail --pid="$pid" -f /dev/null || { echo "the program did not end" >&2; kill "$pid"; exit 1; }
  wait "$pid" || status=$?
  echo "exit status $status"
  [ "$status" -eq 1 ]
  exit 0
fi

zenova=$1 list=$2
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool missing"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$list" "$work/Loc_def.lst"
xvfb-run -a -s "-screen 0 1024x599x24" bash "$0" --inside "$zenova" "$work"
