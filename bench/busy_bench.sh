#!/usr/bin/env bash
# Timing program (not a test): the model on a machine that has other work.
# Starts `busy` processes that each keep one core busy (a shell loop), runs
# the 10^6-particle Euler drift (bench/drift_bench.sh, files off) and each
# of the four engines with weathering at 10^5 particles per spill
# (bench/fate_bench.sh) on the default thread count and the given fixed
# counts, interleaved within each repeat, and stops the busy processes.
# Prints the machine's load (uptime) before and after.
#
#   bench/busy_bench.sh ORVEL_BINARY [busy] [repeats] [threads] [parts]
#   e.g. bench/busy_bench.sh build/bench/orvel 3 3
#        bench/busy_bench.sh build/bench/orvel 0 3 "default 1 8"
#        bench/busy_bench.sh build/bench/orvel 3 3 "default 1 4 5 8" "drift oil2d"
#   (busy 0: a quiet machine; parts: drift and any of oil2d oil3d hns2d hns3d)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="$(realpath "$1")"
busy="${2:-3}"
repeats="${3:-3}"
threads="${4:-default 1 2 3 4 5 6 7 8}"
parts="${5:-drift oil2d oil3d hns2d hns3d}"

spinners=()
stop_spinners() {
  for pid in "${spinners[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${spinners[@]}"; do wait "$pid" 2>/dev/null || true; done
  spinners=()
}
trap stop_spinners EXIT
for _ in $(seq "$busy"); do
  sh -c 'while :; do :; done' &
  spinners+=("$!")
done
sleep 1

echo "busy processes: $busy; load: $(uptime)"
engines=""
for part in $parts; do
  case "$part" in
    drift) "$here/drift_bench.sh" "$bin" 1000000 "$threads" "$repeats" 1 0 ;;
    *) engines="$engines $part" ;;
  esac
done
[ -n "$engines" ] && "$here/fate_bench.sh" "$bin" 100000 "$threads" "$repeats" "$engines"
echo "load: $(uptime)"
