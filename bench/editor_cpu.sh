#!/usr/bin/env bash
# CPU time of `velmora-host editor` as a whole process (every thread: the host's run loop with
# the editor's drawing, and the host's audio thread), as a share of one core, with the editor
# open on a private X server:
#   bench/editor_cpu.sh [BUILD_DIR] [SECONDS]
# Cases: silence at 100 %, the built-in demo at 100 % and at 200 % (the host's content scale),
# for the VST3 and the CLAP module of BUILD_DIR (default build; FORMATS="clap" measures one).
# Each run is measured over SECONDS (default 20) after a 3-second warm-up, from the process's
# user and system time in /proc. The last line is the floor: a process that only wakes up as
# often as the host's audio thread (512-frame blocks at 48 kHz) and the plug-in's idle timer.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${1:-build}"
seconds="${2:-20}"
warmup=3
host="$build_dir/tools/host/velmora-host"
floor="$build_dir/bench/wakeup_floor"
formats="${FORMATS:-vst3 clap}"
[ -x "$host" ] || { echo "no $host: build first" >&2; exit 2; }

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# A private X server on a display it picks itself (it writes the number to its output).
Xvfb -displayfd 1 -screen 0 1600x1200x24 -nolisten tcp -noreset >"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
# The editor's scale preference stays private to this run.
export XDG_CONFIG_HOME="$work/config"

# Eight seconds of 16-bit stereo silence at 48 kHz.
le32() {
  local v="$1" i
  for i in 0 8 16 24; do printf "\\x$(printf %02x $(((v >> i) & 255)))"; done
}
data_bytes=$((48000 * 4 * 8))
{
  printf 'RIFF'; le32 $((36 + data_bytes)); printf 'WAVEfmt '; le32 16
  printf '\x01\x00\x02\x00'; le32 48000; le32 $((48000 * 4)); printf '\x04\x00\x10\x00'
  printf 'data'; le32 "$data_bytes"
  head -c "$data_bytes" /dev/zero
} >"$work/silence.wav"

ticks_per_second="$(getconf CLK_TCK)"
# utime + stime of the whole process, every thread included, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Starts the command, measures it after the warm-up and ends it.
measure() {
  "$@" >/dev/null &
  local pid=$!
  sleep "$warmup"
  local before after
  before="$(cpu_ticks "$pid")"
  sleep "$seconds"
  after="$(cpu_ticks "$pid")"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" \
    'BEGIN { printf "%.2f", 100 * t / hz / s }'
}

editor() {
  local module="$1" scale="$2"
  shift 2
  measure "$host" editor "$module" --scale "$scale" "$@" --screenshot "$work/shot.png" \
    --after $((warmup + seconds + 5))
}

printf '%-6s %-22s %s\n' format case "CPU % of one core"
for format in $formats; do
  module="$build_dir/velmora.$format"
  printf '%-6s %-22s %s\n' "$format" "silence, 100 %" "$(editor "$module" 1 --in "$work/silence.wav")"
  printf '%-6s %-22s %s\n' "$format" "demo, 100 %" "$(editor "$module" 1)"
  printf '%-6s %-22s %s\n' "$format" "demo, 200 %" "$(editor "$module" 2)"
done
if [ -x "$floor" ]; then
  printf '%-6s %-22s %s\n' "-" "floor (wakeups only)" \
    "$(measure "$floor" $((warmup + seconds + 5)) 10667 20000)"
fi
