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
