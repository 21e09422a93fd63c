#!/usr/bin/env bash
# Opens the configuration dialog in a real X server (Xvfb through xvfb-run when no display is set),
# checks that its window appears with its caption, saves a screenshot of it as a PNG, and closes it
# with Escape, which must end the run as a Cancel: exit code 0, no output, the pair saved.
#
#   scripts/screenshot-dialog.sh <Mirovex binary> <sample file> <output.png>
#
# Needs xvfb-run, xwininfo (x11-apps), import and identify (imagemagick) and xdotool.
set -euo pipefail

if (($# != 3)); then
  echo "usage: $0 <Mirovex binary> <sample file> <output.png>" >&2
  exit 2
fi
binary=$(realpath "$1")
sample=$(realpath "$2")
output=$(realpath -m "$3")
caption="Configuration - Mirovex 2.0"

if [[ -z "${DISPLAY:-}" ]]; then
  # Start the search for a free display number somewhere random, so that parallel runs rarely meet.
  exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24 -dpi 96" "$0" "$binary" "$sample" "$output"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample" "$work/sample.txt"

fail() {
  echo "screenshot-dialog: $*" >&2
  exit 1
}

# Polls `$1` (a command) up to 100 times, 0.1 s apart.
wait_for() {
  for _ in $(seq 100); do
    if eval "$1"; then return 0; fi
    sleep 0.1
  done
  return 1
}

window_id() { xwininfo -root -tree | awk -v caption="\"$caption\":" '$2" "$3" "$4" "$5 == caption { print $1; exit }'; }

# Starts the dialog run. Xvfb now and then closes a new connection right after its setup, and Qt
# then ends the program at once; such a start is tried again, twice at most.
for attempt in 1 2 3; do
  (cd "$work" && QT_QPA_PLATFORM=xcb TEMP="$work" exec "$binary" -C sample.txt 2>"$work/stderr") &
  program=$!
  if ! wait_for '[[ -n "$(window_id)" ]] || ! kill -0 "$program" 2>/dev/null'; then
    kill "$program"
    fail "no window with the caption \"$caption\" after 10 s"
  fi
  [[ -n "$(window_id)" ]] && break
  status=0
  wait "$program" || status=$?
  cat "$work/stderr" >&2
  grep -q "connect to.*display" "$work/stderr" && ((attempt < 3)) && continue
  fail "no window with the caption \"$caption\" (the program ended with $status)"
done
id=$(window_id)
wait_for 'xwininfo -id "$id" | grep -q "Map State: IsViewable"' || fail "the window is not shown"
echo "window $id: \"$caption\""

# The window is painted once its picture holds more than a handful of colours.
mkdir -p "$(dirname "$output")"
wait_for 'import -window "$id" "$output" && (($(identify -format %k "$output") > 16))' ||
  fail "the window was not painted"
identify "$output"

# The X tools can meet a refused connection too (see above), so each step may be tried again.
wait_for 'xdotool windowfocus --sync "$id"' || fail "cannot give the window the focus"
wait_for 'xdotool key --clearmodifiers Escape' || fail "cannot press Escape"
status=0
wait "$program" || status=$?
((status == 0)) || fail "the run ended with $status after Escape, not 0"
[[ ! -e "$work/sample.cvt.txt" ]] || fail "a cancelled run wrote an output file"
[[ "$(cat "$work/Mirovex_Tempconf.cvt")" == "932 936" ]] || fail "the pair was not saved as loaded"
echo "closed with Escape: exit code 0, nothing converted"
