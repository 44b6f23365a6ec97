#!/usr/bin/env bash
# The whole `scorvane-cli lines` process (start, the 30 classes' tables read, the 总分 formulas computed,
# three lines placed, each subject's 有效分, the table written) on a grade of 30 classes x 60 students with
# ten subjects, also with --students, and `scorvane-cli borderline` on the same grade. Prints the best and
# the median of RUNS runs.
#   bench/cli_lines_bench.sh [BUILD_DIR (build-rel)] [RUNS (9)]
# Measure a Release build: cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
runs=${2:-9}
cli=$build/bin/scorvane-cli
generator=../shared/bench/gen_table.py
[[ -f $generator ]] || generator=bench/gen_table.py
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# The grade: 1,800 students of one generated table, 60 to a class, each class's 期中考试.skv listed in
# the school file.
python3 "$generator" 1800 --outdir "$out/gen" --no-xlsx >/dev/null
grade=$out/ws/表格数据/一中/高一
school="[School]\r\nName=一中\r\nGrade=0\r\nGrade0=高一\r\nGrade0Class=29\r\n[Grade0]\r\n"
for ((k = 0; k < 30; k++)); do
    class="($((k + 1)))班"
    mkdir -p "$grade/$class"
    "$cli" extract "$out/gen/grades_1800.skv" --rows "$((k * 60 + 1))-$((k * 60 + 60))" --fields 1-14 \
        -o "$grade/$class/期中考试.skv"
    school+="Class$k=$class\r\n"
done
printf "$school" | iconv -f UTF-8 -t GB18030 >"$out/ws/SchoolInfo.ini"

source bench/cli_measure.sh
lines=(--line 特控=前100 --line 一本=前450 --line 本科=前1000)
echo "whole process, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
measure lines lines "$grade" --table 期中考试 "${lines[@]}" -o "$out/lines.skv"
measure list lines "$grade" --table 期中考试 "${lines[@]}" --students -o "$out/list.csv"
measure border borderline "$grade" --table 期中考试 --line 一本=前450 -o "$out/border.skv"
