# Sourced by the command-line benchmarks: `measure NAME ARGS...` runs "$cli" ARGS... $runs times (its
# error output dropped) and prints the best and the median whole-process time.
measure() {
    local name=$1 times=()
    shift
    for ((i = 0; i < runs; i++)); do
        local start end
        start=$(date +%s%N)
        "$cli" "$@" 2>/dev/null
        end=$(date +%s%N)
        times+=("$((end - start))")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk -v name="$name" \
        '{ t[NR] = $1 / 1e9 } END { printf "%-8s best %.3f s  median %.3f s  (%d runs)\n", name, t[1], t[int((NR + 1) / 2)], NR }'
}
