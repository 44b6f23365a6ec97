#!/usr/bin/env bash
# The whole `scorvane-cli split` process on a grade of 30 classes x 60 students from one .xlsx workbook
# (start, the workbook read, the 1,800 rows matched to their classes, 30 tables written atomically), and
# the whole `scorvane-cli evaluate` on the 30 tables it made (nine subjects, with the 任课表 and an
# earlier exam; also --teachers). Prints the best and the median of RUNS runs.
#   bench/cli_grade_bench.sh [BUILD_DIR (build-rel)] [RUNS (9)]
# Measure a Release build: cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
runs=${2:-9}
cli=$build/bin/scorvane-cli
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

python3 bench/gen_grade_book.py "$out" 30 60
"$cli" xlsx "$out/whole.skv" -o "$out/whole.xlsx"
grade=$out/ws/表格数据/一中/高一
# The earlier exam, once.
"$cli" split "$grade" "$out/whole.xlsx" --table 月考 >/dev/null

source bench/cli_measure.sh
echo "whole process, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
measure split split "$grade" "$out/whole.xlsx" --table 期中考试 --overwrite
measure evaluate evaluate "$grade" --table 期中考试 --earlier 月考 -o "$out/评价.skv"
measure teachers evaluate "$grade" --table 期中考试 --teachers -o "$out/汇总.skv"
