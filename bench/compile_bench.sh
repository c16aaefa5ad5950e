#!/usr/bin/env bash
# Times the built-in help compiler against chmcmd alone on the same
# compiler input files, side by side in one run, on a generated project of
# topic pages; and the whole `doxel --compile` (checks, page scan, read-back)
# beside them.
#
#   bench/compile_bench.sh [PAGES] [ROUNDS]      (defaults: 2000 pages, 3 rounds)
#
# Builds the release preset unless DOXEL_BUILD names a build folder that
# already holds doxel, bench/bench_compile_project and
# bench/bench_chm_compile. Each round runs all three, alternating which
# goes first; the medians, the sizes and the speed ratio are printed (goal:
# the built-in compiler at least 20 times faster than chmcmd, its file at
# most 1.15 times chmcmd's).
set -euo pipefail
cd "$(dirname "$0")/.."
pages="${1:-2000}"
rounds="${2:-3}"
build="${DOXEL_BUILD:-build/release}"

if [ -z "${DOXEL_BUILD:-}" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release -j "${DOXEL_JOBS:-2}" --target doxel bench_compile_project bench_chm_compile bench_help_links >/dev/null
fi
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
doxel="$build/doxel"
[ -x "$doxel" ] || doxel="$build/app/doxel"
generator="$build/bench/bench_compile_project"
chmcmd="$(command -v chmcmd)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
project="$work/manual"
# A private settings folder: the log goes to the scratch folder, the user's
# settings stay untouched.
mkdir -p "$work/config/Tervanis"
printf '[General]\nLogFile=%s/log.txt\n' "$work" >"$work/config/Tervanis/HTML Doxel.conf"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

"$generator" "$project" "$pages" >/dev/null
echo "project: $pages pages in $project"

# chmcmd alone gets the files doxel writes (an export is what the compile
# hands chmcmd), under names of its own (doxel deletes its input files after
# every compile).
"$doxel" --export "$project/manual.dxp" >/dev/null
sed -e 's#manual\.hh\([ck]\)#alone.hh\1#g' -e 's#^Compiled file=manual\.chm#Compiled file=alone.chm#' \
  "$project/manual.hhp" >"$project/alone.hhp"
cp "$project/manual.hhc" "$project/alone.hhc"
cp "$project/manual.hhk" "$project/alone.hhk"
sed -e 's#alone\.hh\([ck]\)#ours.hh\1#g' -e 's#^Compiled file=alone\.chm#Compiled file=ours.chm#' \
  "$project/alone.hhp" >"$project/ours.hhp"
cp "$project/manual.hhc" "$project/ours.hhc"
cp "$project/manual.hhk" "$project/ours.hhk"
rm "$project/manual.hhp" "$project/manual.hhc" "$project/manual.hhk"

now() { date +%s.%N; }
time_doxel() {
  local start end
  start=$(now)
  "$doxel" --compile "$project/manual.dxp" >"$work/doxel.out"
  end=$(now)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
time_chmcmd() {
  local start end
  start=$(now)
  (cd "$project" && "$chmcmd" alone.hhp >"$work/chmcmd.out" 2>&1)
  end=$(now)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
time_ours() {
  local start end
  start=$(now)
  "$build/bench/bench_chm_compile" "$project/ours.hhp" >"$work/ours.out"
  end=$(now)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$work/doxel.times"
: >"$work/chmcmd.times"
: >"$work/ours.times"
for round in $(seq 1 "$rounds"); do
  if [ $((round % 2)) -eq 1 ]; then
    o=$(time_ours); c=$(time_chmcmd); d=$(time_doxel)
  else
    c=$(time_chmcmd); o=$(time_ours); d=$(time_doxel)
  fi
  echo "$d" >>"$work/doxel.times"
  echo "$c" >>"$work/chmcmd.times"
  echo "$o" >>"$work/ours.times"
  printf 'round %d: built-in compiler %.3f s, chmcmd alone %.3f s, doxel --compile %.3f s\n' "$round" "$o" "$c" "$d"
done

doxel_median=$(median <"$work/doxel.times")
chmcmd_median=$(median <"$work/chmcmd.times")
ours_median=$(median <"$work/ours.times")
printf 'median: built-in compiler %.3f s, chmcmd alone %.3f s: %.1f times faster (goal >= 20)\n' \
  "$ours_median" "$chmcmd_median" "$(awk -v a="$ours_median" -v b="$chmcmd_median" 'BEGIN { print b / a }')"
printf 'median: doxel --compile %.3f s (with its checks and read-back), %.1f times faster than chmcmd alone\n' \
  "$doxel_median" "$(awk -v a="$doxel_median" -v b="$chmcmd_median" 'BEGIN { print b / a }')"
ours_size=$(stat -c %s "$project/ours.chm")
chmcmd_size=$(stat -c %s "$project/alone.chm")
printf 'size: built-in %d bytes, chmcmd %d bytes, ratio %.3f (goal <= 1.15)\n' "$ours_size" "$chmcmd_size" \
  "$(awk -v a="$ours_size" -v b="$chmcmd_size" 'BEGIN { print a / b }')"
grep -E '^(Warnings|Errors|Topics|Local Links|Internet Links|Graphics):' "$work/doxel.out" | tr -s ' ' | paste -sd ' '
# The share of the read-back check (contents, keywords and default topic
# looked up in the help file), timed alone on the help file doxel wrote.
"$build/bench/bench_help_links" "$project/manual.chm" manual.hhc manual.hhk | tee "$work/links.out"
awk -v c="$chmcmd_median" '/help file check/ { printf "read-back check: %.1f%% of chmcmd alone\n", $(NF - 1) / 10 / c }' \
  "$work/links.out"
