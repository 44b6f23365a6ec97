#!/usr/bin/env bash
# The whole `scorvane-cli rank` process on a grade of 20 classes x 60 students (start, the 20 tables
# read, the 总分 formulas computed, every student ranked, the table written), and `scorvane-cli history`
# on a class of 60 students with 10 exams. Prints the best and the median of RUNS runs.
#   bench/cli_analysis_bench.sh [BUILD_DIR (build-rel)] [RUNS (9)]
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

# The grade: 1,200 students of one generated table, 60 to a class, each class's 期中考试.skv listed in
# the school file.
python3 "$generator" 1200 --outdir "$out/gen" --no-xlsx >/dev/null
grade=$out/ws/表格数据/一中/高一
school="[School]\r\nName=一中\r\nGrade=0\r\nGrade0=高一\r\nGrade0Class=19\r\n[Grade0]\r\n"
for ((k = 0; k < 20; k++)); do
    class="($((k + 1)))班"
    mkdir -p "$grade/$class"
    "$cli" extract "$out/gen/grades_1200.skv" --rows "$((k * 60 + 1))-$((k * 60 + 60))" --fields 1-14 \
        -o "$grade/$class/期中考试.skv"
    school+="Class$k=$class\r\n"
done
printf "$school" | iconv -f UTF-8 -t GB18030 >"$out/ws/SchoolInfo.ini"

# The class: ten exams of the same 60 学号 (the generator numbers its rows), marks drawn afresh for each.
class="$out/ws/表格数据/一中/高二/(1)班"
mkdir -p "$class"
for ((e = 1; e <= 10; e++)); do
    python3 "$generator" 60 --outdir "$out/gen$e" --seed "$e" --no-xlsx >/dev/null
    cp "$out/gen$e/grades_60.skv" "$class/第${e}次考试.skv"
done

source bench/cli_measure.sh
echo "whole process, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
measure rank rank "$grade" --table 期中考试 -o "$out/rank.skv"
measure history history "$class" -o "$out/history.skv"
measure ranks history "$class" --ranks -o "$out/ranks.csv"
