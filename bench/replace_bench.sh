#!/usr/bin/env bash
# The content tools' speed, measured side by side in one run:
#   1. `doxel --replace` of one literal string over FILES HTML pages of about
#      20 KB each, against GNU `sed -i` doing the same replacement on a copy
#      of the same pages, with letter case counting and ignored (sed's "I"
#      flag), without backups and with them (sed -i.bak); the results of
#      both are compared byte for byte;
#   2. `doxel --txt-to-html` over MEGABYTES of text files, in MB/s of input.
#
#   bench/replace_bench.sh [FILES] [MEGABYTES] [ROUNDS]   (defaults: 2000, 100, 3)
#
# Builds the release preset unless DOXEL_BUILD names a build folder that
# already holds doxel. Each round copies fresh pages for both and runs both,
# alternating which goes first; the medians are printed. doxel flushes its
# files to disk before it renames them into place, and that flush is part
# of its time; sed does not flush, so its time is that of `sed -i` followed
# by `sync`, which puts the same files on disk. The goal is a ratio of at
# most 1.5. The pages live on disk, in the build folder unless BENCH_TMPDIR
# names another folder (a tmpfs would hide the cost of the flushes).
set -euo pipefail
cd "$(dirname "$0")/.."
files="${1:-2000}"
megabytes="${2:-100}"
rounds="${3:-3}"
build="${DOXEL_BUILD:-build/release}"

if [ -z "${DOXEL_BUILD:-}" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release -j "${DOXEL_JOBS:-2}" --target doxel >/dev/null
fi
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
doxel="$build/doxel"
[ -x "$doxel" ] || doxel="$build/app/doxel"

work="$(mktemp -d "${BENCH_TMPDIR:-$build}/replace_bench.XXXXXX")"
echo "work folder: $work on $(df --output=fstype "$work" | tail -1)"
trap 'rm -rf "$work"' EXIT

# One page of about 20 KB with CR LF line ends: the colour to replace in
# the body tag and, in lower case, in table cells.
awk 'BEGIN {
  printf "<HTML>\r\n<HEAD><TITLE>Page</TITLE></HEAD>\r\n<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">\r\n"
  for (i = 0; i < 240; i++) {
    if (i % 40 == 0) printf "<TABLE><TR><TD bgcolor=\"#ffffff\">cell %d</TD></TR></TABLE>\r\n", i
    printf "<P>Line %d of the page: some words of text, a <A HREF=\"p%d.htm\">link</A> and more.</P>\r\n", i, i
  }
  printf "</BODY>\r\n</HTML>\r\n"
}' >"$work/page.template"
mkdir "$work/pages"
for ((i = 0; i < files; i++)); do
  { cat "$work/page.template"; printf '<!-- %d -->\r\n' "$i"; } >"$work/pages/p$i.htm"
done
echo "pages: $files of $(($(stat -c %s "$work/pages/p0.htm") / 1024)) KB in $work/pages"

now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ms() { awk -v ns="$1" 'BEGIN { printf "%.0f", ns / 1e6 }'; }

search='BGCOLOR="#FFFFFF"'
replacement='BGCOLOR="#0080C0"'
sed_search='BGCOLOR="#FFFFFF"'

# compare NAME DOXEL_FLAGS SED_FLAGS SED_SUFFIX
compare() {
  local name="$1" doxel_flags="$2" sed_flags="$3" sed_i="$4"
  local d_times=() s_times=()
  for ((r = 0; r < rounds; r++)); do
    rm -rf "$work/d" "$work/s"
    cp -r "$work/pages" "$work/d"
    cp -r "$work/pages" "$work/s"
    sync
    local order=(d s)
    ((r % 2 == 1)) && order=(s d)
    for who in "${order[@]}"; do
      local start end
      if [ "$who" = d ]; then
        start=$(now)
        # shellcheck disable=SC2086
        "$doxel" --replace $doxel_flags "$search" "$replacement" "$work"/d/*.htm >/dev/null
        end=$(now)
        d_times+=($((end - start)))
      else
        start=$(now)
        sed "$sed_i" "s/$sed_search/$replacement/g$sed_flags" "$work"/s/*.htm
        sync
        end=$(now)
        s_times+=($((end - start)))
      fi
    done
  done
  # Both must have written the same bytes.
  if ! diff -r -q "$work/d" "$work/s" >/dev/null; then
    echo "$name: doxel and sed wrote different files" >&2
    diff -r -q "$work/d" "$work/s" | head -5 >&2
    exit 1
  fi
  local d s
  d=$(printf '%s\n' "${d_times[@]}" | median)
  s=$(printf '%s\n' "${s_times[@]}" | median)
  printf '%-34s doxel %6s ms   sed -i + sync %6s ms   ratio %s (goal: at most 1.5)\n' "$name" "$(ms "$d")" \
    "$(ms "$s")" "$(awk -v a="$d" -v b="$s" 'BEGIN { printf "%.2f", a / b }')"
}

compare "case counts, no backup" "--match-case --no-backup" "" "-i"
compare "case ignored, no backup" "--no-backup" "I" "-i"
compare "case counts, backups" "--match-case" "" "-i.bak"
compare "case ignored, backups" "" "I" "-i.bak"
rm -rf "$work/d" "$work/s" "$work/pages"

# Text to pages: files of 1 MB with lines of about 70 bytes.
mkdir "$work/text"
awk 'BEGIN { for (i = 0; i < 15000; i++) printf "Line %05d of a plain text file, converted into one row of a page.\r\n", i }' \
  >"$work/text.template"
size=$(stat -c %s "$work/text.template")
count=$(((megabytes * 1024 * 1024 + size - 1) / size))
for ((i = 0; i < count; i++)); do cp "$work/text.template" "$work/text/t$i.txt"; done
total=$((count * size))
times=()
for ((r = 0; r < rounds; r++)); do
  rm -f "$work"/text/*.htm
  sync
  start=$(now)
  "$doxel" --txt-to-html "$work"/text/*.txt >/dev/null
  end=$(now)
  times+=($((end - start)))
done
t=$(printf '%s\n' "${times[@]}" | median)
printf 'txt-to-html: %d files, %.1f MB in %s ms: %s MB/s of input (target: at least 200)\n' "$count" \
  "$(awk -v b="$total" 'BEGIN { print b / 1048576 }')" "$(ms "$t")" \
  "$(awk -v b="$total" -v ns="$t" 'BEGIN { printf "%.0f", b / 1048576 / (ns / 1e9) }')"
