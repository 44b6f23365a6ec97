#!/usr/bin/env bash
# The whole `scorvane-cli import-sheet` process on the 20,000-student workbook as .xlsx, .ods and .xls:
# start, read the sheet, make the table, write the data file. Prints the best and the median wall time
# of RUNS runs of each, the largest resident memory, the workbook's unpacked size, and what the process
# holds above the process alone (scorvane-cli --help) for each byte of it. The .xls once as LibreOffice
# writes it and, where Gnumeric's ssconvert is installed, once as Gnumeric does.
#   bench/sheet_import_bench.sh [BUILD_DIR (build-rel)] [RUNS (9)]
# The .xlsx comes from gen_table.py (python3-openpyxl, installed here when missing; else scorvane-cli
# xlsx writes it); the .xls is converted from the .ods by LibreOffice, which this script installs when it
# is missing (Debian libreoffice-calc). Nothing of this runs in CI.
# Measure a Release build: cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCORVANE_TESTS=OFF
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
runs=${2:-9}
cli=$build/bin/scorvane-cli
dir=${SCORVANE_BENCH_DIR:-${TMPDIR:-/tmp}/scorvane-bench}/sheets
mkdir -p "$dir"
generator=../shared/bench/gen_table.py
[[ -f $generator ]] || generator=bench/gen_table.py
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
install() {
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "$@" >/dev/null
}

if [[ ! -f $dir/grades_20000.xlsx ]]; then
    # Debian's python3 holds Debian's openpyxl, whatever python3 comes first on the path.
    py=python3
    $py -c 'import openpyxl' 2>/dev/null || { install python3-openpyxl || true; [[ -x /usr/bin/python3 ]] && py=/usr/bin/python3; }
    $py "$generator" 20000 --outdir "$dir" >/dev/null
    [[ -f $dir/grades_20000.xlsx ]] || "$cli" xlsx "$dir/grades_20000.skv" -o "$dir/grades_20000.xlsx"
fi
if [[ ! -f $dir/grades_20000.xls ]]; then
    command -v soffice >/dev/null || install libreoffice-calc
    soffice --headless --calc --convert-to xls --outdir "$dir" "$dir/grades_20000.ods" >/dev/null 2>&1
fi
if [[ ! -f $dir/grades_20000_gnumeric.xls ]] && command -v ssconvert >/dev/null; then
    ssconvert -T Gnumeric_Excel:excel_biff8 "$dir/grades_20000.xlsx" "$dir/grades_20000_gnumeric.xls" >/dev/null 2>&1
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

unpacked() {
    case $1 in
        *.xls) stat -c %s "$1" ;;
        *) unzip -l "$1" | tail -1 | awk '{ print $1 }' ;;
    esac
}

measure() {
    local book=$1 times=() memory=0 cpu=()
    for ((i = 0; i < runs; i++)); do
        local start end
        start=$(date +%s%N)
        /usr/bin/time -f '%M %U %S' -o "$out/rss" "$cli" import-sheet "$book" -o "$out/table.skv"
        end=$(date +%s%N)
        times+=("$((end - start))")
        read -r kb user system <"$out/rss"
        memory=$((kb > memory ? kb : memory))
        cpu+=("$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')")
    done
    # The processor time too: on a machine shared with other work the wall time waits for the processor.
    local cpuBest
    cpuBest=$(printf '%s\n' "${cpu[@]}" | sort -g | head -1)
    local name=${book##*/}
    name=${name#grades_20000}
    printf '%s\n' "${times[@]}" | sort -n | awk -v name="${name#.}" -v kb="$memory" -v bare="$bare" -v size="$(unpacked "$book")" -v cpu="$cpuBest" \
        '{ t[NR] = $1 / 1e9 } END { printf "%-13s best %.3f s  median %.3f s  (%d runs)  best CPU %.2f s  max RSS %.1f MB  unpacked %.1f MB  (RSS/unpacked %.2f, above the process alone %.2f)\n",
                                    name, t[1], t[int((NR + 1) / 2)], NR, cpu, kb / 1024, size / 1048576, kb * 1024 / size, (kb - bare) * 1024 / size }'
}
echo "20,000 students, whole process, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
# What the process holds before it reads anything (its libraries): the rest of the RSS is the workbook's.
/usr/bin/time -f %M -o "$out/rss" "$cli" --help >/dev/null
bare=$(cat "$out/rss")
echo "the process alone (scorvane-cli --help): max RSS $(awk '{ printf "%.1f", $1 / 1024 }' "$out/rss") MB"
for kind in xlsx ods xls _gnumeric.xls; do
    [[ $kind == _* ]] || kind=.$kind
    [[ -f $dir/grades_20000$kind ]] && measure "$dir/grades_20000$kind"
done
