# Sourced by the benchmark scripts, with `root` set to the repository:
# `build` is build-bench/, `machine` names the cores.
#
#   bench_build TARGET...          installs what the benchmarks need and
#                                  builds TARGET... in build-bench/ (Release)
#   bench_work                     a temporary folder in `work`, removed on exit
#   spheres TARGET... -- FREQUENCY...
#                                  both, and the geodesic spheres of the given
#                                  frequencies as OFF files in `work`, their
#                                  paths in `files`

build="$root/build-bench"
machine="$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"

bench_build() {
  "$root/scripts/setup.sh" bench
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPD_BENCH=ON -DPD_TESTS=OFF >/dev/null
  cmake --build "$build" -j2 --target "$@" >/dev/null
}

bench_work() {
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
}

spheres() {
  local targets=()
  while [ "$1" != "--" ]; do targets+=("$1"); shift; done
  shift
  bench_build geodesic-off "${targets[@]}"
  bench_work
  files=()
  for k in "$@"; do
    "$build/bench/geodesic-off" "$k" "$work/geodesic-$k.off"
    files+=("$work/geodesic-$k.off")
  done
}
