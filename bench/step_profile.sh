#!/usr/bin/env bash
# Profiling program (not a test): where the time of a run goes, by part, on
# the calling thread (whose time line is the run's wall time) and on all
# threads together.  Runs `perf record` (software cpu-clock samples with
# call chains) on the orvel binary in a prepared scenario folder and sorts
# every sample into one part of the step:
#   loop NAME   a parallel loop's body (the routine that posts it)
#   serial      the calling thread's work between the loops (and what the
#               profile cannot place: a sample in a library without its
#               caller)
#   wait        the calling thread waiting at the end of a loop for blocks
#               held by other threads, or a worker idle between loops
#   kernel      the system's time (page clearing, scheduling, system calls)
#   start-up    reading and set-up before the first step, and writing files
#
#   bench/step_profile.sh ORVEL_BINARY FOLDER KEY THREADS
#   e.g. bench/drift_bench.sh --scenario /tmp/drift 1000000 1 0
#        bench/step_profile.sh build/test-shipped/orvel /tmp/drift BNCH 8
# Needs perf (linux-perf) and a kernel that lets the user sample its own
# processes (kernel.perf_event_paranoid at most 2).
set -euo pipefail

bin="$(realpath "$1")"
dir="$2"
key="$3"
threads="$4"
data="$(mktemp)"
trap 'rm -f "$data"' EXIT

echo "load: $(uptime)"
(cd "$dir" && ORVEL_THREADS="$threads" perf record -q -g -e cpu-clock -o "$data" "$bin" "$key" >/dev/null 2>&1)
perf script -i "$data" -F tid,ip,sym,dso 2>/dev/null | awk '
  # A sample: a header line "tid", then its call chain, innermost first.
  function part(chain, n,    i, s) {
    if (chain[1] ~ /kernel/) return "kernel"
    for (i = 1; i <= n; ++i) {
      s = chain[i]
      if (s ~ /pool::work|pool::pool|wait_for_job|pool::run\(|orvel::run_blocks|sched_yield|relax/) {
        # Inside the pool: a loop body further up the chain is loop work.
        continue
      }
      if (s ~ /low_resolution_update|local_update|spill_update|moves_2d_together|spread_move|sincos|buscacosta|ring_search|coast_step/) return "loop position update"
      if (s ~ /states_fixed_grid|fixed_grid_states|states_wetdry|states_radar|update_indp|update_states_together/) return "loop states"
      if (s ~ /update_par|count_states/) return "loop state counts"
      if (s ~ /vel_adv_2d|vel_adv_3d/) return "loop velocities"
      if (s ~ /dispersion_2d|dispersion_3d|horizontal<|fill_horizontal|diffusivities_2d_together/) return "loop diffusivities"
      if (s ~ /rungek|stage_of/) return "loop Runge-Kutta"
      if (s ~ /fill_first|fill_uniform|blend_particles|interp_vel_part|interp_viento_part|interp_ola_part/) return "loop forcing at particles"
      if (s ~ /interp_lineal/) return "loop interpolation"
      if (s ~ /copy_particles|spill_pass|memmove|memcpy/) return "loop pass copies"
      if (s ~ /memset/) return "loop zeroing"
      if (s ~ /one_wind_speed|mean_wind|entrainment_rates/) return "loop weathering"
      if (s ~ /put_[a-z]_field|table_layout/) return "start-up and files"
      if (s ~ /in_item_order|repeated_sum/) return "loop ordered sums"
      if (s ~ /esc_particulas|property|write|format|result_file|journal/) return "start-up and files"
      if (s ~ /spill_chain|weathering|evapora|emulsion|balance|verticaldispersion|evaluo|spreading/) return "loop weathering"
      if (s ~ /set_up|part_ini|lee_|read|main$|initial/) return "start-up and files"
    }
    for (i = 1; i <= n; ++i) if (chain[i] ~ /pool::work|pool::pool|wait_for_job|pool::run\(|orvel::run_blocks|sched_yield|relax/) return "wait"
    return "serial"
  }
  /^ *[0-9]+ *$/ || /^[^ \t]/ { if (n > 0) record(); tid = $1 + 0; n = 0; next }
  NF >= 2 { s = $2; for (k = 3; k <= NF; ++k) s = s " " $k; chain[++n] = s; next }
  function record(   p) {
    p = part(chain, n)
    if (main == 0 || tid < main) main = tid
    all[p]++; total++
    per_tid[tid, p]++; tid_total[tid]++
    parts[p] = 1
  }
  END {
    if (n > 0) record()
    printf "%-28s %12s %12s\n", "part", "main thread", "all threads"
    for (p in parts) printf "%-28s %11.1f%% %11.1f%%\n", p, 100 * per_tid[main, p] / tid_total[main], 100 * all[p] / total | "sort"
    close("sort")
    printf "%-28s %12d %12d\n", "samples (0.25 ms each)", tid_total[main], total
  }'
