#!/usr/bin/env bash
# Timing program (not a test) around the orvel binary: a continuous release
# against the same particles released at once.  The oil 2-D engine with
# weathering on the continuous-release audit scenario of tests/scenarios/
# (coast, random walk, Runge-Kutta steps, 300 s steps, 48 hours):
#   pulses  60,000 t of oil released over 24 h in 288 five-minute pulses of
#           600 particles (172,800 particles in all)
#   once    the same 60,000 t and 172,800 particles released at time 0
# For each case and thread count it runs the model `repeats` times (the
# thread counts interleaved within each repeat) and prints the median wall
# time, the speed-up over the first thread count, nanoseconds per
# particle-step (the steps of each pulse counted from its start), and
# whether every result file is byte for byte that of the first thread count.
#
#   bench/pulse_bench.sh ORVEL_BINARY [threads] [repeats] [cases] [pulses] [particles]
#   e.g. bench/pulse_bench.sh build/test-shipped/orvel
#        bench/pulse_bench.sh build/test-shipped/orvel "1 8" 3 pulses
#        bench/pulse_bench.sh build/test-shipped/orvel "1 8" 1 "pulses once" 1728 600
#   (pulses: the number of five-minute pulses, 288 by default; particles:
#   per pulse, 600 by default; the release lasts pulses * 300 s)
#
# The thread count goes to the run through ORVEL_THREADS; `default` runs
# without it (the count the run chooses itself).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
src="$here/../tests/scenarios/audit_oil2d"
bin="$(realpath "$1")"
threads="${2:-1 2 4 8}"
repeats="${3:-3}"
cases="${4:-pulses once}"
pulses="${5:-288}"
per_pulse="${6:-600}"
hours=48
steps=$((hours * 12))
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Writes the case into folder $1 (key AUC2).  The run file of the audit
# scenario with the particle count and a 300 s step; the configuration with
# the release of 60,000 t (66,666.67 m3 of crude at 900 kg/m3): one
# continuous release of `pulses` pulses, or one instantaneous spill.
prepare() {
  local d="$1" case="$2"
  rm -rf "$d"
  mkdir -p "$d"
  cp "$src"/* "$d"/
  local np="$per_pulse"
  [ "$case" = once ] && np=$((pulses * per_pulse))
  awk -v np="$np" '/^[*\/]/ { print; next } { n++; if (n == 9) print np " 0"; else if (n == 10) print "300."; else print }' \
    "$src/AUC2.run" >"$d/AUC2.run"
  local duration
  duration="$(awk -v p="$pulses" 'BEGIN { printf "%.10g", p * 300 / 3600 }')"
  awk -v c="$case" -v dur="$duration" '
    /^[*\/]/ { print; next }
    { n++ }
    n == 16 && c == "once" { print 1; next }       # instantaneous spills
    n == 17 && c == "once" { print 1; next }       # one spill
    n == 18 { print dur " 300"; next }             # duration (h) and pulse interval (s)
    n == 19 { $3 = "60000000.0"; $11 = "66666.6666667"; print; next }
    { print }' "$src/AUC2.cfg" >"$d/AUC2.cfg"
}

. "$here/bench_lib.sh"

echo "load: $(uptime)"
printf '%-7s %-7s %-9s %-7s %9s %8s %9s %s\n' case pulses particles thr wall_s speedup ns/pstep same_files
for case in $cases; do
  # Particle-steps: pulse k (from 0) moves in the steps after its start.
  if [ "$case" = once ]; then
    psteps=$((pulses * per_pulse * steps))
  else
    psteps="$(awk -v p="$pulses" -v n="$per_pulse" -v s="$steps" 'BEGIN {
      t = 0; for (k = 0; k < p; ++k) if (s > k) t += s - k; printf "%.0f", t * n }')"
  fi
  declare -A walls=()
  first=""
  for _ in $(seq "$repeats"); do
    for t in $threads; do
      d="$work/$case.$t"
      prepare "$d" "$case"
      walls[$t]="${walls[$t]:-} $(timed_run "$bin" "$d" AUC2 "$t")"
      first="${first:-$t}"
    done
  done
  base=""
  for t in $threads; do
    wall="$(printf '%s\n' ${walls[$t]} | median)"
    base="${base:-$wall}"
    same="$(same_files "$work/$case.$first" "$work/$case.$t")"
    awk -v c="$case" -v p="$pulses" -v np="$((pulses * per_pulse))" -v t="$t" -v w="$wall" -v b="$base" -v ps="$psteps" -v s="$same" 'BEGIN {
      if (w <= 0) w = 0.005
      printf "%-7s %-7d %-9d %-7s %9.2f %8.2f %9.1f %s\n", c, (c == "once" ? 1 : p), np, t, w, b / w, w * 1e9 / ps, s }'
  done
  unset walls
done
echo "load: $(uptime)"
