#!/usr/bin/env bash
# Pictures of Klimora for a person to look at: the window as it opens, and
# with the longest total it can show. Runs the built program on Xvfb under
# openbox and types as a user would.
# Usage: screenshots.sh [BUILD_DIR]   (default build/test; pictures go there)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages xvfb openbox xdotool imagemagick
build=${1:-build/test}

exec 3< <(Xvfb -displayfd 1 -screen 0 800x600x24 -nolisten tcp 2>/dev/null)
read -r display <&3
export DISPLAY=":$display"
openbox 2>/dev/null &
LOCPATH="$build/tests/locales" LC_ALL=es_ES.UTF-8 "$build/app/klimora" &
trap 'kill $(jobs -p) 2>/dev/null; pkill -P $$ Xvfb' EXIT
window=$(xdotool search --sync --onlyvisible --name Klimora | tail -1)
until [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]; do sleep 0.1; done
sleep 1 # the window manager draws its frame after activating the window
import -window root "$build/form1.png"

# Walls: Tab from the openings box, then Tab twice to "Calcular".
xdotool key Tab ctrl+a type -- '-3,59538626972463e306'
xdotool key Tab Tab space
sleep 1
import -window root "$build/form1-result.png"
echo "$build/form1.png"
echo "$build/form1-result.png"
