#!/usr/bin/env bash
# The whole `scorvane-cli stats` process on the 20,000-student table (start, load, the default fields
# with their 40,000 formulas, both result tables written), and `scorvane-cli compare` on a grade of
# 20 classes x 60 students made from its first 1,200 rows. Prints the best and the median of RUNS runs.
#   bench/cli_stats_bench.sh [BUILD_DIR (build-rel)] [RUNS (9)]
# Measure a Release build: cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
runs=${2:-9}
cli=$build/bin/scorvane-cli
dir=${SCORVANE_BENCH_DIR:-${TMPDIR:-/tmp}/scorvane-bench}
table=$dir/grades_20000.skv
if [[ ! -f $table ]]; then
    generator=../shared/bench/gen_table.py
    [[ -f $generator ]] || generator=bench/gen_table.py
    mkdir -p "$dir"
    python3 "$generator" 20000 --outdir "$dir" --no-xlsx >/dev/null
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# The grade: one folder per class under 表格数据/一中/高一, each with 期中考试.skv, listed in the school file.
grade=$out/ws/表格数据/一中/高一
school="[School]\r\nName=一中\r\nGrade=1\r\nGrade0=高一\r\nGrade0Class=20\r\n[Grade0]\r\n"
for ((k = 0; k < 20; k++)); do
    class="($((k + 1)))班"
    mkdir -p "$grade/$class"
    "$cli" extract "$table" --rows "$((k * 60 + 1))-$((k * 60 + 60))" --fields 1-14 -o "$grade/$class/期中考试.skv"
    school+="Class$k=$class\r\n"
done
printf "$school" | iconv -f UTF-8 -t GB18030 >"$out/ws/SchoolInfo.ini"

source bench/cli_measure.sh
echo "whole process, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
measure stats stats "$table" -o "$out/stats.csv" --bands-out "$out/bands.skv"
measure stats10 stats "$table" --fields 3-12 -o "$out/stats10.skv"
measure compare compare "$grade" --table 期中考试 -o "$out/compare.csv"
