#!/usr/bin/env bash
# The whole `scorvane-cli csv` and `scorvane-cli xlsx` processes on the 20,000-student table: start,
# load, compute every formula, write the file. Prints the best and the median of RUNS runs of each.
#   bench/cli_export_bench.sh [BUILD_DIR (build-rel)] [RUNS (9)]
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

measure() {
    local command=$1 extension=$2 times=()
    for ((i = 0; i < runs; i++)); do
        local start end
        start=$(date +%s%N)
        "$cli" "$command" "$table" -o "$out/export.$extension"
        end=$(date +%s%N)
        times+=("$((end - start))")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk -v name="$command" -v size="$(stat -c %s "$out/export.$extension")" \
        '{ t[NR] = $1 / 1e9 } END { printf "%-5s best %.3f s  median %.3f s  (%d runs, %d bytes)\n", name, t[1], t[int((NR + 1) / 2)], NR, size }'
}
echo "20,000 students, whole process, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
measure csv csv
measure xlsx xlsx
