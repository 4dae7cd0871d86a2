#!/bin/bash
# Times ardour7-export of chord sessions with several builds of the plug-in.
#   bench/ardour/run.sh OUT_DIR DATA_DIR NAME=PLUGIN.so [NAME=PLUGIN.so ...]
# DATA_DIR holds GrelmondDefault.grb and Grelmond.dlx (a build's Grelmond/
# folder). The first build records the sessions. Environment: CHORDS (note
# counts, default "128 16 0"), HOLD (seconds held, default 10), REPEATS
# (timed rounds, default 3), PERF_REPEATS (rounds under perf, default 1; 0
# skips them). Writes OUT_DIR/times.tsv, perf.tsv and one WAV per timed
# export, then prints the summary of compare.py.
set -euo pipefail

if [ $# -lt 3 ]; then
  sed -n '2,9p' "$0" >&2
  exit 2
fi
out=$(realpath -m "$1")
data=$(realpath "$2")
shift 2
here=$(dirname "$(realpath "$0")")
chords=${CHORDS:-128 16 0}
hold=${HOLD:-10}
repeats=${REPEATS:-3}
perf_repeats=${PERF_REPEATS:-1}
command -v perf > /dev/null || perf_repeats=0
perf_rate=1000

lua=$(ls /usr/bin/ardour*-lua | sort -V | tail -1)
export_tool=${lua%-lua}-export
version=${lua##*/ardour}
version=${version%-lua}
scanner=/usr/lib/ardour$version/ardour-vst-scanner

home=$out/home
vst=$out/vst
mkdir -p "$home/.config/ardour$version" "$vst" "$out/wav"
cp "$data/GrelmondDefault.grb" "$data/Grelmond.dlx" "$vst/"
cat > "$home/.config/ardour$version/config" <<CONFIG
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
    <Option name="plugin-path-lxvst" value="$vst"/>
  </Config>
</Ardour>
CONFIG
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache GRELMOND_INSTALL_PATH=$vst

# Ardour trusts its scan cache only while the plug-in file is older, so every
# build put in place gets the same old time stamp; all builds scan alike.
install_build() {
  cp "$1" "$vst/Grelmond.so"
  touch -d 2020-01-01 "$vst/Grelmond.so"
}

names=() builds=()
for arg in "$@"; do
  names+=("${arg%%=*}")
  builds+=("$(realpath "${arg#*=}")")
done

install_build "${builds[0]}"
LD_LIBRARY_PATH=$(dirname "$scanner") "$scanner" -f "$vst/Grelmond.so" > "$out/scan.log" 2>&1
for notes in $chords; do
  if [ ! -d "$out/chord$notes" ]; then
    "$lua" "$here/chord_session.lua" "$out/chord$notes" "$notes" "$hold" > "$out/chord$notes.log" 2>&1
    grep -q '^OK' "$out/chord$notes.log" || { cat "$out/chord$notes.log"; exit 1; }
  fi
  echo "chord$notes: $(grep -E '^(region|notes|pitches|note starts|sample rate)' "$out/chord$notes.log" | paste -sd ';')"
done

# ardour7-export now and then hangs at the start of the export: such a run
# is killed and repeated.
export_session() { # SESSION WAV [COMMAND PREFIX...]
  local session=$1 wav=$2
  shift 2
  for attempt in 1 2 3; do
    if "$@" timeout 90 "$export_tool" -b float -o "$wav" "$out/$session" grelmond > "$out/export.log" 2>&1; then
      return 0
    fi
    echo "export of $session failed or hung (attempt $attempt)" >&2
  done
  return 1
}

times=$out/times.tsv
[ -f "$times" ] || printf 'session\tbuild\trepeat\twall\tuser\tsys\tload1\n' > "$times"
for ((r = 1; r <= repeats; r++)); do
  for notes in $chords; do
    for i in "${!builds[@]}"; do
      install_build "${builds[$i]}"
      load=$(cut -d' ' -f1 /proc/loadavg)
      export_session "chord$notes" "$out/wav/chord$notes-${names[$i]}-$r.wav" \
        /usr/bin/time -f '%e\t%U\t%S' -o "$out/time.txt"
      printf 'chord%s\t%s\t%d\t%s\t%s\n' "$notes" "${names[$i]}" "$r" "$(tail -1 "$out/time.txt")" "$load" | tee -a "$times"
    done
  done
done

# The plug-in's own share: CPU-clock samples that land in Grelmond.so (its
# start-up included; the idle session shows that part).
profile=$out/perf.tsv
[ -f "$profile" ] || printf 'session\tbuild\trepeat\tsamples\tplugin_samples\trate\n' > "$profile"
for ((r = 1; r <= perf_repeats; r++)); do
  for notes in $chords; do
    for i in "${!builds[@]}"; do
      install_build "${builds[$i]}"
      export_session "chord$notes" "$out/perf.wav" perf record -q -e cpu-clock -F "$perf_rate" -o "$out/perf.data"
      total=$(perf report -i "$out/perf.data" --stdio --sort dso -n 2> /dev/null | awk '!/^#/ && NF >= 3 { n += $2 } END { print n + 0 }')
      plugin=$(perf report -i "$out/perf.data" --stdio --sort dso -n 2> /dev/null | awk '$3 == "Grelmond.so" { print $2 }')
      printf 'chord%s\t%s\t%d\t%s\t%s\t%s\n' "$notes" "${names[$i]}" "$r" "$total" "${plugin:-0}" "$perf_rate" | tee -a "$profile"
    done
  done
done
rm -f "$out/perf.wav" "$out/perf.data"
python3 "$here/compare.py" "$out"
