#!/usr/bin/env bash
# jalv, Debian's reference LV2 host, runs the bundle for a few seconds on JACK's
# dummy driver (no sound card): it must start, run and stop without an error.
#   jalv-dummy.sh BUNDLE
set -uo pipefail
bundle=$1
for tool in jackd jalv; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
work=$(mktemp -d)
server=grelmond-jalv-$$
mkdir "$work/lv2" && ln -s "$bundle" "$work/lv2/Grelmond.lv2"
export JACK_DEFAULT_SERVER=$server JACK_NO_AUDIO_RESERVATION=1
jackd -n "$server" -d dummy -r 48000 -p 256 >"$work/jackd.log" 2>&1 &
jack_pid=$!
cleanup() { kill "$jack_pid" 2>/dev/null; wait "$jack_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
sleep 1
# jalv reads commands from its input; an idle pipe keeps it running until SIGINT.
(sleep 4) | LV2_PATH="$work/lv2" timeout -s INT 3 jalv -n grelmond-test -c main_vol=0.4 urn:zavr:grelmond \
  >"$work/jalv.log" 2>&1
status=$?
cat "$work/jalv.log"
# timeout reports 124 when it had to interrupt jalv, which is how this run ends.
if [ "$status" -ne 0 ] && [ "$status" -ne 124 ]; then echo "jalv ended with status $status"; exit 1; fi
grep -q '^Sample rate: *48000' "$work/jalv.log" || { echo "jalv never ran the plug-in"; exit 1; }
if grep -qi 'error\|failed\|not found' "$work/jalv.log"; then echo "jalv reported an error"; exit 1; fi
echo "jalv ran the plug-in without error"

# xvfb-run -a picks a display number that another test's X server may take
# before its own starts; such a start is tried again. LOG gets the output.
on_screen() { # LOG COMMAND...
  local log=$1 try
  shift
  for try in 1 2 3; do
    "$@" >"$log" 2>&1
    local status=$?
    grep -q 'Xvfb failed to start' "$log" || return $status
    sleep 1
  done
  return $status
}

# Its GTK build shows the plug-in's editor, embedded as an X11 UI, on a screen of its own.
if command -v jalv.gtk3 >/dev/null && command -v xvfb-run >/dev/null; then
  LV2_PATH="$work/lv2" on_screen "$work/jalv-ui.log" \
    timeout -s INT 5 xvfb-run -a jalv.gtk3 -n grelmond-ui-test urn:zavr:grelmond
  cat "$work/jalv-ui.log" | grep -v ' = '
  grep -q '^UI: *urn:zavr:grelmond#ui' "$work/jalv-ui.log" || { echo "jalv.gtk3 did not load the editor"; exit 1; }
  if grep -qi 'error\|failed\|not found' "$work/jalv-ui.log"; then echo "jalv.gtk3 reported an error"; exit 1; fi
  echo "jalv.gtk3 showed the editor without error"

  # The editor's file buttons through jalv's worker; the remembered folder goes
  # to a folder of the test's own, not into the bundle.
  if command -v xdotool >/dev/null; then
    mkdir "$work/install"
    GRELMOND_INSTALL_PATH="$work/install" LV2_PATH="$work/lv2" on_screen "$work/files.log" timeout 30 \
      xvfb-run -a -s "-screen 0 1280x1024x24" "$(dirname "$0")/jalv-files.sh" "$work"
    status=$?
    cat "$work/files.log"
    [ "$status" -eq 0 ] || exit 1
  fi
fi
