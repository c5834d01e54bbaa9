# Sourced by the benchmarks on geodesic spheres (nets.sh, spin-fps.sh), with
# `root` set: builds TARGET... (and geodesic-off) in build-bench/ and writes
# the spheres of the given frequencies as OFF files into a temporary folder
# removed on exit, their paths in `files`; `machine` names the cores.
#
#   spheres TARGET... -- FREQUENCY...

build="$root/build-bench"
machine="$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"

spheres() {
  local targets=()
  while [ "$1" != "--" ]; do targets+=("$1"); shift; done
  shift
  "$root/scripts/setup.sh" bench
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPD_BENCH=ON -DPD_TESTS=OFF >/dev/null
  cmake --build "$build" -j2 --target geodesic-off "${targets[@]}" >/dev/null
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  files=()
  for k in "$@"; do
    "$build/bench/geodesic-off" "$k" "$work/geodesic-$k.off"
    files+=("$work/geodesic-$k.off")
  done
}
