#!/usr/bin/env bash
# The export's speed: `doxel --export` of a generated project of ENTRIES
# contents entries and KEYWORDS keywords (bench_export_project), against
# `cp` of the three files it writes (.hhp, .hhc, .hhk) into another folder,
# run in turn ROUNDS times; the medians and their ratio are printed. The
# goal is a ratio of at most 5.
#
#   bench/export_bench.sh [ENTRIES] [KEYWORDS] [ROUNDS]   (defaults: 100000, 20000, 11)
#
# Builds the release preset unless DOXEL_BUILD names a build folder that
# already holds doxel and bench/bench_export_project. The project lives in
# the build folder unless BENCH_TMPDIR names another folder. The export's
# output is compared with that of the first round, so that a run that
# writes something else does not pass for a fast one.
set -euo pipefail
cd "$(dirname "$0")/.."
entries="${1:-100000}"
keywords="${2:-20000}"
rounds="${3:-11}"
build="${DOXEL_BUILD:-build/release}"

if [ -z "${DOXEL_BUILD:-}" ]; then
  cmake --preset release -DDOXEL_BENCH=ON >/dev/null
  cmake --build --preset release -j "${DOXEL_JOBS:-2}" --target doxel bench_export_project >/dev/null
fi
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
doxel="$build/doxel"
[ -x "$doxel" ] || doxel="$build/app/doxel"

work="$(mktemp -d "${BENCH_TMPDIR:-$build}/export_bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
project="$("$build/bench/bench_export_project" "$work/project" "$entries" "$keywords")"
"$doxel" --export "$project" >/dev/null
mkdir "$work/first" "$work/copy"
stem="${project%.dxp}"
cp "$stem.hhp" "$stem.hhc" "$stem.hhk" "$work/first/"

now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
d_times=()
c_times=()
for ((round = 0; round < rounds; ++round)); do
  start=$(now)
  "$doxel" --export "$project" >/dev/null
  end=$(now)
  d_times+=($((end - start)))
  start=$(now)
  cp "$work/first/"*.hh? "$work/copy/"
  end=$(now)
  c_times+=($((end - start)))
  for file in "$work/first/"*.hh?; do
    cmp -s "$file" "$(dirname "$stem")/$(basename "$file")" || { echo "the export wrote another $(basename "$file")" >&2; exit 1; }
  done
done
d=$(printf '%s\n' "${d_times[@]}" | median)
c=$(printf '%s\n' "${c_times[@]}" | median)
echo "entries $entries, keywords $keywords, $(du -ch "$work/first/"*.hh? | tail -1 | cut -f1) written, median of $rounds rounds"
awk -v d="$d" -v c="$c" 'BEGIN { printf "doxel --export %.3f s, cp %.3f s, ratio %.1f\n", d / 1e9, c / 1e9, d / c }'
