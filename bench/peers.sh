#!/usr/bin/env bash
# Scorvane beside the office programs on the same table, side by side in one run: every job's commands
# run in turn, RUNS rounds, whole processes; the figures are medians, peak memory is the largest resident
# size /usr/bin/time reports. Every output is checked (bench/peer_checks.py) before any figure counts.
#   bench/peers.sh [STUDENTS (20000)] [RUNS (5)]
# Measures the Release build in build-rel (SCORVANE_BUILD for another) on the table written by
# gen_table.py into SCORVANE_BENCH_DIR (default: scorvane-bench in the temporary folder). Installs the
# peers where missing (Debian gnumeric, libreoffice-calc, python3-uno, and poppler-utils for the checks).
# Run by hand, never in CI: the office programs take minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
students=${1:-20000}
runs=${2:-5}
cli=${SCORVANE_BUILD:-build-rel}/bin/scorvane-cli
python=/usr/bin/python3 # Debian's, where python3-uno lives
[[ -x $cli ]] || { echo "no $cli: build it first (cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release)"; exit 1; }

missing=()
command -v ssconvert >/dev/null || missing+=(gnumeric)
command -v soffice >/dev/null || missing+=(libreoffice-calc)
$python -c 'import uno' 2>/dev/null || missing+=(python3-uno)
command -v pdfinfo >/dev/null || missing+=(poppler-utils)
if ((${#missing[@]})); then
    sudo=
    ((EUID == 0)) || sudo=sudo
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

data=${SCORVANE_BENCH_DIR:-${TMPDIR:-/tmp}/scorvane-bench}
table=$data/grades_$students.skv
expected=$data/grades_${students}_expected.csv
for f in "$table" "$expected" "$data/grades_$students.ods" "$data/grades_$students.gnumeric"; do
    if [[ ! -f $f ]]; then
        generator=../shared/bench/gen_table.py
        [[ -f $generator ]] || generator=bench/gen_table.py
        mkdir -p "$data"
        python3 "$generator" "$students" --outdir "$data" --no-xlsx >/dev/null
        break
    fi
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
profile=$out/office-profile # LibreOffice's user profile, made by the warm-up round

# The jobs: a name, then the command as one shell line (run by bash -c). $T is the table's stem.
T=$data/grades_$students
names=()
declare -A command check
job() { names+=("$1"); command[$1]=$2; check[$1]=${3:-}; }
job csv "'$cli' csv '$T.skv' -o '$out/ours.csv'" \
    "bench/peer_checks.py csv '$out/ours.csv' '$expected' --ours"
job ssconvert-csv "ssconvert '$T.gnumeric' '$out/gnumeric.csv'" \
    "bench/peer_checks.py csv '$out/gnumeric.csv' '$expected'"
job iconv "iconv -f GBK -t UTF-8 '$T.skv' > '$out/iconv.txt'"
job copy "'$cli' copy '$T.skv' -o '$out/copy.skv'" "cmp '$T.skv' '$out/copy.skv'"
job print "'$cli' print '$T.skv' -o '$out/ours.pdf'" "bench/peer_checks.py pdf '$out/ours.pdf' $students"
job lo-pdf "soffice -env:UserInstallation=file://$profile --headless --norestore --convert-to pdf --outdir '$out/lo' '$T.ods'" \
    "bench/peer_checks.py pdf '$out/lo/grades_$students.pdf' $students"
job ssconvert-pdf "ssconvert '$T.gnumeric' '$out/gnumeric.pdf'" \
    "bench/peer_checks.py pdf '$out/gnumeric.pdf' $students"
job sort+csv "'$cli' sort '$T.skv' --by 总分 --desc -o '$out/sorted.skv' && '$cli' csv '$out/sorted.skv' -o '$out/ranked.csv'" \
    "bench/peer_checks.py csv '$out/ranked.csv' '$expected' --ours --ranked"
job lo-uno-sort "$python bench/peer_sort_uno.py '$T.ods' '$out/lo-ranked.csv' '$out/uno-profile'" \
    "bench/peer_checks.py csv '$out/lo-ranked.csv' '$expected' --ranked"
job xlsx "'$cli' xlsx '$T.skv' -o '$out/ours.xlsx'" "bench/peer_checks.py xlsx '$out/ours.xlsx' '$expected'"
job ssconvert-xlsx "ssconvert '$T.gnumeric' '$out/gnumeric.xlsx'" \
    "bench/peer_checks.py xlsx '$out/gnumeric.xlsx' '$expected'"
job lo-xlsx "soffice -env:UserInstallation=file://$profile --headless --norestore --convert-to xlsx --outdir '$out/lo' '$T.ods'" \
    "bench/peer_checks.py xlsx '$out/lo/grades_$students.xlsx' '$expected'"

declare -A pages
samples=${SCORVANE_PEERS_SAMPLES:-${TMPDIR:-/tmp}/scorvane-peers-samples.txt}
# One run: its wall time in nanoseconds and peak resident size in kilobytes, as a line of the samples.
run() {
    local name=$1 start end
    start=$(date +%s%N)
    if ! /usr/bin/time -f %M -o "$out/peak" bash -c "${command[$name]}" >"$out/log" 2>&1; then
        echo "$name failed:" >&2
        tail -5 "$out/log" >&2
        exit 1
    fi
    end=$(date +%s%N)
    [[ $2 == timed ]] && echo "$name $((end - start)) $(tail -1 "$out/peak")" >>"$samples"
    return 0
}

echo "$students students, $(stat -c %s "$T.skv") bytes; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "warm-up round and checks ..."
for name in "${names[@]}"; do
    run "$name" warm-up
    if [[ -n ${check[$name]} ]]; then
        result=$(bash -c "${check[$name]}") || { echo "$name: $result" >&2; exit 1; }
        [[ -z $result ]] || pages[$name]=$result
    fi
done
: >"$samples"
for ((round = 1; round <= runs; round++)); do
    echo "round $round of $runs ..."
    for name in "${names[@]}"; do
        run "$name" timed
    done
done
for name in "${names[@]}"; do
    [[ -z ${check[$name]} ]] || bash -c "${check[$name]}" >/dev/null ||
        { echo "$name: the last run's output is wrong" >&2; exit 1; }
done
echo "samples (job, nanoseconds, peak kilobytes): $samples"

# The table: medians per job, ratios against the peers and the goals of the issue.
awk -v runs="$runs" -v size="$(stat -c %s "$T.skv")" -v pages="${pages[print]:-?}" \
    -v lopages="${pages[lo-pdf]:-?}" -v gpages="${pages[ssconvert-pdf]:-?}" '
function median(list, n,    i, j, t, v) {
    n = split(list, v, " ")
    for (i = 2; i <= n; i++)
        for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return v[int((n + 1) / 2)]
}
function sec(job) { return sprintf("%.3f s", t[job] / 1e9) }
function mb(job) { return sprintf("%.1f MB", m[job] / 1024) }
function both(job) { return sec(job) ", " mb(job) }
function min(a, b) { return a < b ? a : b }
function row(job, ours, peer, ratio, goal, met) {
    printf "| %-24s | %-20s | %-56s | %-12s | %-8s | %-4s |\n", job, ours, peer, ratio, goal,
        goal == "" ? "" : met ? "yes" : "NO"
}
{ times[$1] = times[$1] " " $2; peaks[$1] = peaks[$1] " " $3 }
END {
    for (job in times) { t[job] = median(times[job]); m[job] = median(peaks[job]) }
    printf "\nmedians of %d, whole processes, run side by side\n\n", runs
    printf "| %-24s | %-20s | %-56s | %-12s | %-8s | %-4s |\n", "job", "ours", "peer", "ratio", "goal", "met"
    print "|--------------------------|----------------------|----------------------------------------------------------|--------------|----------|------|"
    r = t["ssconvert-csv"] / t["csv"]
    row("csv (compute + export)", both("csv"), "ssconvert .gnumeric -> .csv " both("ssconvert-csv"), sprintf("%.1fx", r), ">= 12x", r >= 12)
    r = t["csv"] / t["iconv"]
    row("csv against the floor", sec("csv"), "iconv -f GBK -t UTF-8 " both("iconv"), sprintf("%.2fx floor", r), "<= 2.5x", r <= 2.5)
    r = m["csv"] * 1024 / size
    row("csv peak memory", mb("csv"), sprintf("the file %.1f MB", size / 1048576), sprintf("%.2fx file", r), "< 2.5x", r < 2.5)
    r = t["copy"] / t["iconv"]
    row("copy (load + save)", both("copy"), "iconv " sec("iconv"), sprintf("%.2fx floor", r), "<= 2.5x", r <= 2.5)
    row("print (" pages " pages)", both("print"), "LibreOffice .ods -> .pdf " both("lo-pdf") " (" lopages " p.)", sprintf("%.1fx", t["lo-pdf"] / t["print"]), "", 0)
    row("", "", "ssconvert .gnumeric -> .pdf " both("ssconvert-pdf") " (" gpages " p.)", sprintf("%.1fx", t["ssconvert-pdf"] / t["print"]), "", 0)
    r = min(t["lo-pdf"], t["ssconvert-pdf"]) / t["print"]
    row("print against the faster", sec("print"), "", sprintf("%.1fx", r), ">= 8x", r >= 8)
    r = t["lo-uno-sort"] / t["sort+csv"]
    row("sort + csv (ranking)", both("sort+csv"), "LibreOffice sort through UNO " both("lo-uno-sort"), sprintf("%.1fx", r), ">= 15x", r >= 15)
    row("xlsx", both("xlsx"), "ssconvert .gnumeric -> .xlsx " both("ssconvert-xlsx"), sprintf("%.1fx", t["ssconvert-xlsx"] / t["xlsx"]), "", 0)
    row("", "", "LibreOffice .ods -> .xlsx " both("lo-xlsx"), sprintf("%.1fx", t["lo-xlsx"] / t["xlsx"]), "", 0)
    r = min(t["ssconvert-xlsx"], t["lo-xlsx"]) / t["xlsx"]
    row("xlsx against the faster", sec("xlsx"), "", sprintf("%.1fx", r), ">= 6x", r >= 6)
}' "$samples"
