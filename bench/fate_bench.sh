#!/usr/bin/env bash
# Timing program (not a test) around the orvel binary: each of the four
# engines with weathering on, on the mass-budget audit scenarios of
# tests/scenarios/ (two spills each, coast, random walk, Runge-Kutta steps):
#   oil2d   oil in 2-D: spreading, evaporation, emulsification, dispersion
#   oil3d   oil in 3-D: rising droplets, the same weathering
#   hns2d   a chemical in 2-D: spreading, evaporation, entrainment,
#           dissolution, sorption, volatilisation, degradation
#   hns3d   a chemical in 3-D: the same fates
# The particle count (per spill) replaces the scenario's.  For each engine,
# count and thread count it runs the model `repeats` times (the thread
# counts interleaved within each repeat) and prints the median wall time,
# the speed-up over the first thread count, and whether every result file
# is byte for byte that of the first thread count.
#
#   bench/fate_bench.sh ORVEL_BINARY [counts] [threads] [repeats] [engines]
#   e.g. bench/fate_bench.sh build/bench/orvel "100000 1000000" "1 2 4 8" 3
#        bench/fate_bench.sh build/bench/orvel 100000 "1 8" 1 "oil2d hns3d"
#
# The thread count goes to the run through ORVEL_THREADS; `default` runs
# without it (the count the run chooses itself).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
scenarios="$here/../tests/scenarios"
bin="$(realpath "$1")"
counts="${2:-100000 1000000}"
threads="${3:-1 2 4 8}"
repeats="${4:-3}"
engines="${5:-oil2d oil3d hns2d hns3d}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# engine -> scenario folder and key
folder() {
  case "$1" in
    oil2d) echo "audit_oil2d AUD2" ;;
    oil3d) echo "audit_oil3d AUD3" ;;
    hns2d) echo "audit_hns2d AUH2" ;;
    hns3d) echo "audit_hns3d AUH3" ;;
    *) echo "unknown engine $1" >&2; exit 2 ;;
  esac
}

# Copies the scenario into $1 with np particles per spill (the ninth record
# of the run-control file).
prepare() {
  local d="$1" src="$2" key="$3" np="$4"
  rm -rf "$d"
  mkdir -p "$d"
  cp "$scenarios/$src"/* "$d"/
  awk -v np="$np" '/^[*\/]/ { print; next } { n++; if (n == 9) print np " 0"; else print }' \
    "$scenarios/$src/$key.run" >"$d/$key.run"
}

. "$here/bench_lib.sh"

printf '%-6s %-8s %-7s %9s %8s %s\n' engine particles thr wall_s speedup same_files
for engine in $engines; do
  read -r src key <<<"$(folder "$engine")"
  for np in $counts; do
    declare -A walls=()
    first=""
    for _ in $(seq "$repeats"); do
      for t in $threads; do
        d="$work/$engine.$t"
        prepare "$d" "$src" "$key" "$np"
        walls[$t]="${walls[$t]:-} $(timed_run "$bin" "$d" "$key" "$t")"
        first="${first:-$t}"
      done
    done
    base=""
    for t in $threads; do
      wall="$(printf '%s\n' ${walls[$t]} | median)"
      base="${base:-$wall}"
      same="$(same_files "$work/$engine.$first" "$work/$engine.$t")"
      awk -v e="$engine" -v np="$np" -v t="$t" -v w="$wall" -v b="$base" -v s="$same" 'BEGIN {
        if (w <= 0) w = 0.005
        printf "%-6s %-8d %-7s %9.2f %8.2f %s\n", e, np, t, w, b / w, s }'
    done
    unset walls
  done
done
