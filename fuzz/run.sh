#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang in build-fuzz/ and runs each for
# a fixed number of executions; exits non-zero when any of them finds a
# crash, a hang or a broken invariant (the input is saved in
# build-fuzz/artifacts/).
#
#   fuzz/run.sh [RUNS] [HARNESS...] [-- LIBFUZZER-OPTION...]
#
# RUNS defaults to 20000; HARNESS is vertex-reader, face-duals, answers,
# off-reader, stl-reader, headless or message-catalogue (default: all seven). Seeds come from data/, tests/data/ and
# fuzz/seeds/; what a run learns is kept in build-fuzz/corpus/ for the next
# run.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-fuzz"
runs=20000
harnesses=()
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --) shift; extra=("$@"); break ;;
    [0-9]*) runs=$1 ;;
    vertex-reader|face-duals|answers|off-reader|stl-reader|headless|message-catalogue) harnesses+=("$1") ;;
    *) echo "fuzz/run.sh: unknown argument '$1'" >&2; exit 2 ;;
  esac
  shift
done
[ ${#harnesses[@]} -gt 0 ] || harnesses=(vertex-reader face-duals answers off-reader stl-reader headless message-catalogue)

CXX=clang++ cmake -S "$root" -B "$build" -DPD_FUZZ=ON -DPD_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
for h in "${harnesses[@]}"; do targets+=(--target "fuzz-$h"); done
targets+=(--target catalogues)
cmake --build "$build" -j"$(nproc)" "${targets[@]}" >/dev/null

# Seeds, laid out anew on every run from the files they come from.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"/{vertex-reader,face-duals,answers,off-reader,stl-reader,headless,message-catalogue} "$build/artifacts"
cp "$root"/fuzz/seeds/vertex/* "$seeds/vertex-reader/"
cp "$root"/fuzz/seeds/answers/* "$seeds/answers/"
# Face files with their solid's number in front, alone and after their own
# vertex file and a '#' (the harness's two input forms).
cp "$root"/fuzz/seeds/face-duals/* "$seeds/face-duals/"
cp "$root"/tests/data/model/*.off "$seeds/off-reader/"
cp "$root"/fuzz/seeds/stl-reader/* "$seeds/stl-reader/"
cp "$root"/tests/data/model/*.off "$seeds/headless/"
# A prism of many corners: long thin faces round its caps, fanned round
# its dual's two apexes.
cp "$root"/fuzz/seeds/headless/* "$seeds/headless/"
# The catalogues built, and Serbian's plural rule alone.
for language in sr sr@latin; do
  cp "$build/locale/$language/LC_MESSAGES/duals-explorer.mo" "$seeds/message-catalogue/$language.mo"
done
printf '%s' '(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)' \
  >"$seeds/message-catalogue/serbian-rule"
# Every data file is a vertex file to the reader, face files included.
n=0
while IFS= read -r -d '' f; do
  cp "$f" "$seeds/vertex-reader/data-$((n += 1))"
done < <(find "$root/data" "$root/tests/data" -type f -size -64k -print0 2>/dev/null)

# The harnesses run side by side, one to a core (each fuzzes on one), and
# tell their results in the order named.
fuzz_one() {
  local h=$1 corpus="$build/corpus/$1" log="$build/fuzz-$1.log" max_len=4096
  mkdir -p "$corpus"
  # Room for the many-cornered prism's seed in the headless harness.
  [ "$h" = headless ] && max_len=16384
  # Room for a whole catalogue.
  [ "$h" = message-catalogue ] && max_len=262144
  if "$build/fuzz-$h" "$corpus" "$seeds/$h" -runs="$runs" -timeout=10 \
      -rss_limit_mb=2048 -max_len=$max_len -print_final_stats=1 -dict="$root/fuzz/numbers.dict" \
      -artifact_prefix="$build/artifacts/$h-" ${extra[@]+"${extra[@]}"} >"$log" 2>&1; then
    done_runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cover=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n1)
    echo "fuzz-$h: ${done_runs:-?} executions, no fault ($cover, corpus $(ls "$corpus" | wc -l) inputs)"
  else
    echo "fuzz-$h: FAULT; its log, $log, ends:" >&2
    tail -n 40 "$log" >&2
    return 1
  fi
}
rm -f "$build"/fuzz-*.status
for h in "${harnesses[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  { s=0; fuzz_one "$h" || s=$?; echo "$s" >"$build/fuzz-$h.status"; } >"$build/fuzz-$h.result" 2>&1 &
done
wait
status=0
for h in "${harnesses[@]}"; do
  if [ "$(cat "$build/fuzz-$h.status")" = 0 ]; then
    cat "$build/fuzz-$h.result"
  else
    status=1
    cat "$build/fuzz-$h.result" >&2
  fi
done
exit "$status"
