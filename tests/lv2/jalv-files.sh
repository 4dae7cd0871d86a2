#!/usr/bin/env bash
# Run inside a display of its own: jalv.gtk3 shows the editor, and the editor's
# save-bank button, with a full path typed into the file name field, has the
# plug-in write that bank on jalv's worker thread.
#   jalv-files.sh FOLDER     (writes FOLDER/saved.grb; LV2_PATH names the bundle)
set -uo pipefail
folder=$1
jalv.gtk3 -n grelmond-files urn:zavr:grelmond >"$folder/jalv-files.log" 2>&1 &
jalv=$!
trap 'kill -INT "$jalv" 2>/dev/null; wait "$jalv" 2>/dev/null' EXIT
for _ in $(seq 50); do xdotool search --name '^Grelmond$' >/dev/null 2>&1 && break; sleep 0.2; done
sleep 1
# With no window manager the editor sits at the screen's top left: the file name
# field's centre is at (449, 68), the save-bank button's at (484, 407).
xdotool mousemove 449 68 click 1
sleep 0.3
xdotool type --delay 10 "$folder/saved.grb"
xdotool key Return
sleep 0.3
xdotool mousemove 484 407 click 1
for _ in $(seq 50); do [ -s "$folder/saved.grb" ] && break; sleep 0.1; done
grep -q '<bank product="grelmond"' "$folder/saved.grb" 2>/dev/null || { echo "the editor's save-bank button wrote no bank"; exit 1; }
echo "the editor's save-bank button wrote a bank through jalv's worker"
