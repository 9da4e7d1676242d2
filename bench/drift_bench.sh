#!/usr/bin/env bash
# Timing program (not a test) around the orvel binary: a 24-hour surface
# drift of one spill on open water, uniform current and wind series blended
# in time, horizontal random walk on, dt 600 s (144 steps), particle files
# every 6 hours (or none), no coast.  For each particle count, method
# (Euler, Runge-Kutta) and files on/off it runs the model `repeats` times on
# each thread count (interleaved) and prints the medians: wall time,
# particle-steps per second, nanoseconds per particle-step, peak memory and
# bytes per particle.
#
#   bench/drift_bench.sh ORVEL_BINARY [counts] [threads] [repeats] [methods] [files]
#   e.g. bench/drift_bench.sh build/bench/orvel "10000 100000 1000000" "1 8" 3
#        bench/drift_bench.sh build/bench/orvel 1000000 "1 8" 3 "1 2" 0
#   (methods: 1 Euler, 2 Runge-Kutta; files: 0 off, 1 on)
#   bench/drift_bench.sh --scenario FOLDER PARTICLES METHOD FILES
#     only writes the scenario (key BNCH) into FOLDER
#
# The thread count goes to the run through ORVEL_THREADS; `default` runs
# without it (the count the run chooses itself).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

scenario() {  # folder, particles, method (1 Euler, 2 Runge-Kutta), files (1 on, 0 off)
  local d="$1" np="$2" method="$3" files="$4"
  mkdir -p "$d"
  cat >"$d/BNCH.run" <<RUN
* Timing scenario: sea, two dimensions, no blowout, forward in time
1
1
0
1
* inputs in the working directory; land from the bathymetry only
1
1
1
0
$np 0
600.
* wind and currents blended in time
1 0 1
$method
* particle files every 6 hours, property rows hourly
0. 21600. 21600. 3600
$files 0 1
RUN
  cat >"$d/BNCH.cfg" <<CFG
* Model grid: 21 x 21 nodes, 0.1 degrees, all water 100 m deep
grid.dat
2
-10.0 42.0 0.1 0.1 0.0 21 21 1 43.0
conc.dat
1
1
not read
0
* a floating object, no weathering
1
0 1 24
0
0
0
0 0 0 0
1.0e-6
* one instantaneous spill at -9.0, 43.0: a 1 km square
1
1
0 0
1 0.0 1000.0 -9.0 43.0 0.0 1000.0 1000.0 0.01 0.0001 1.0 0 900.0 15.0 100.0 15.0 0 25 0 25 0 0 40.0 5.0 70.0 1025.0 15.0 20.0
10.0 2.5 0.1
24
* currents, waves and wind as uniform series, hourly
2 0 0 0 0 0
1
1 1
1 25 0
0 0 0
0 0 0 0 0 0
0 0 0 0 0 0
2 0
1
1 25
0
0 0 0 0 0 0
2 0
1
1 25
0
0 0 0 0 0 0
* the current, a 3 % wind drag, random walk of 10 m2/s
1.0 0.03 0.0 0.0 1 10.0 0.0 0.0
./
CFG
  : >"$d/grid.dat"
  for _ in $(seq 21); do printf '100.0%.0s ' $(seq 21) >>"$d/grid.dat"; echo >>"$d/grid.dat"; done
  : >"$d/lstcurr.pre"; : >"$d/lstwinds.pre"; : >"$d/lstwaves.pre"
  for h in $(seq 0 24); do
    echo "0.3 $((h * 3)).0" >>"$d/lstcurr.pre"
    echo "10.0 $((250 + h)).0" >>"$d/lstwinds.pre"
    echo "0.0 0.0 0.0" >>"$d/lstwaves.pre"
  done
}

if [ "${1:-}" = --scenario ]; then
  scenario "$2" "$3" "$4" "$5"
  exit 0
fi
bin="$(realpath "$1")"
counts="${2:-10000 100000 1000000}"
threads="${3:-1 $(nproc)}"
repeats="${4:-3}"
methods="${5:-1 2}"
file_settings="${6:-0 1}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

. "$here/bench_lib.sh"

printf '%-8s %-6s %-7s %-5s %9s %12s %9s %10s %9s %10s\n' particles method thr files wall_s psteps/s ns/pstep peak_MB B/part file_MB
for np in $counts; do
  for method in $methods; do
    for files in $file_settings; do
      d="$work/run"
      rm -rf "$d"
      scenario "$d" "$np" "$method" "$files"
      # The thread counts interleaved within each repeat, so that a change of
      # the machine's load falls on all of them alike.
      declare -A walls=() mems=()
      for _ in $(seq "$repeats"); do
        for t in $threads; do
          (cd "$d" && rm -f BNCH_particles_* && env $(threads_env "$t") /usr/bin/time -f '%e %M' -o time.txt "$bin" BNCH >/dev/null)
          read -r wall mem <"$d/time.txt"
          walls[$t]="${walls[$t]:-} $wall"
          mems[$t]="${mems[$t]:-} $mem"
        done
      done
      for t in $threads; do
        wall="$(printf '%s\n' ${walls[$t]} | median)"
        mem="$(printf '%s\n' ${mems[$t]} | median)"
        bytes=0
        [ "$files" = 1 ] && bytes="$(cat "$d"/BNCH_particles_* | wc -c)"
        awk -v np="$np" -v w="$wall" -v m="$mem" -v t="$t" -v me="$method" -v f="$files" -v b="$bytes" 'BEGIN {
          ps = np * 144; if (w <= 0) w = 0.005
          printf "%-8d %-6s %-7s %-5s %9.3f %12.3g %9.1f %10.1f %9.0f %10.1f\n", np, (me == 1 ? "euler" : "rk4"), t,
            (f == 1 ? "on" : "off"), w, ps / w, w * 1e9 / ps, m / 1024, m * 1024 / np, b / 1e6 }'
      done
      unset walls mems
    done
  done
done
