# Helpers shared by the timing scripts of bench/ (sourced, not run).

# The environment setting of a thread count for env(1); `default` runs
# without ORVEL_THREADS (the count the run chooses itself).
threads_env() { if [ "$1" = default ]; then echo "-u ORVEL_THREADS"; else echo "ORVEL_THREADS=$1"; fi; }

# The median of the numbers on standard input, one a line.
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# "yes" when every file of folder $1 is byte for byte the same in folder
# $2, else "no (FILE)" naming the first that differs.
same_files() {
  local f
  for f in "$1"/*; do
    cmp -s "$f" "$2/$(basename "$f")" || { echo "no ($(basename "$f"))"; return; }
  done
  echo yes
}

# Runs ORVEL_BINARY $1 on key $3 in folder $2 on thread count $4 and prints
# its wall time in seconds; the run's output goes to standard error when
# it fails, and the script stops.
timed_run() {
  local bin="$1" dir="$2" key="$3" t="$4" out
  out="$(cd "$dir" && env $(threads_env "$t") /usr/bin/time -f '%e' -o time.txt "$bin" "$key" 2>&1)" ||
    { printf '%s\n' "$out" >&2; exit 1; }
  cat "$dir/time.txt"
  rm -f "$dir/time.txt"
}
