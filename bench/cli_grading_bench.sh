#!/usr/bin/env bash
# 等级赋分 and 等级制 as whole processes, and report cards one file a student:
#  - `scorvane-cli assign` on a city's joint exam as one grade folder: 4,000 classes x 50 students
#    (200,000 students in 4,000 tables), four converted fields, written as .csv; its time and its peak
#    memory against the size of the tables read;
#  - `scorvane-cli levels` on a table of 30,000 rows (the default fields: ten subjects, 总分 and 平均);
#  - `scorvane-cli report --split`: 50 per-student PDFs of the sample report card.
# Prints the best and the median of RUNS runs.
#   bench/cli_grading_bench.sh [BUILD_DIR (build-rel)] [RUNS (5)]
# Measure a Release build: cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
runs=${2:-5}
cli=$build/bin/scorvane-cli
generator=../shared/bench/gen_table.py
[[ -f $generator ]] || generator=bench/gen_table.py
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

bytes=$(python3 bench/gen_grade.py "$out/ws" --classes 4000 --students 50)
grade=$out/ws/表格数据/联考/高一
python3 "$generator" 30000 --outdir "$out/gen" --no-xlsx >/dev/null
table=$out/gen/grades_30000.skv
"$cli" extract "$table" --rows 1-50 --fields 1-14 -o "$out/class.skv"
mkdir "$out/cards"

source bench/cli_measure.sh
echo "whole process, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
measure assign assign "$grade" --fields 化学,生物,政治,地理 -o "$out/assign.csv"
peak=$(/usr/bin/time -f %M "$cli" assign "$grade" --fields 化学,生物,政治,地理 -o "$out/assign.csv" 2>&1 >/dev/null | tail -1)
awk -v peak="$peak" -v bytes="$bytes" 'BEGIN { printf "assign   peak memory %.1f MB, tables %.1f MB: %.2f x\n", peak / 1024, bytes / 1048576, peak * 1024 / bytes }'
measure levels levels "$table" -o "$out/levels.skv"
measure split report "$out/class.skv" examples/成绩通知单.rvx --split "$out/cards" --force \
    --bind 3=姓名 --bind 5=学号 --bind 16=语文 --bind 17=数学 --bind 18=英语 --bind 19=物理 --bind 20=化学 \
    --bind 21=总分 --bind 22=平均
echo "split    $(ls "$out/cards" | wc -l) files"
