#!/usr/bin/env bash
# Times whole vormi processes, pack (c) against unpack (d), on writable copies
# of each file, interleaved, and prints per file and halving limit the median
# times and the unpack/pack ratio side by side. With -o it also runs an older
# program in the same rounds (old c, new c, old d, new d, ...), so that the
# two can be compared under the same machine load.
#
#     benchmarks/unpack-pack-ratio.sh [-h LIMITS] [-n RUNS] [-p PROGRAM] [-o OLD] FILE...
#
# LIMITS is a comma-separated list of halving limits (default 1280); RUNS the
# number of rounds (default 9); PROGRAM the vormi to time (default
# build/bench/vormi). Times are wall clock in ms, start-up included; each line
# is the median of RUNS. The packed streams of both programs must be the same
# bytes and the unpacked files the source, else the script stops.
set -euo pipefail

limits=1280
runs=9
program=build/bench/vormi
old=
usage() { sed -n '2,15p' "$0" >&2; exit 2; }
while getopts "h:n:p:o:" option; do
    case $option in
        h) limits=$OPTARG ;;
        n) runs=$OPTARG ;;
        p) program=$OPTARG ;;
        o) old=$OPTARG ;;
        *) usage ;;
    esac
done
shift $((OPTIND - 1))
(($# > 0)) || usage
program=$(realpath "$program")
programs=("$program")
[[ -n $old ]] && programs=("$(realpath "$old")" "$program")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Milliseconds one run of the program takes, to two decimals; the console goes nowhere.
time_ms() {
    local start=$EPOCHREALTIME
    "$@" </dev/null >/dev/null
    local end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f", (e - s) * 1000 }'
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

if [[ -n $old ]]; then
    printf '%-12s %6s %9s %9s %9s %9s %7s %7s %7s %7s\n' file limit "old c" "new c" "old d" "new d" \
        "old d/c" "new d/c" "c n/o" "d n/o"
else
    printf '%-12s %6s %9s %9s %7s\n' file limit "c ms" "d ms" "d/c"
fi
for file in "$@"; do
    name=$(basename "$file")
    cp "$file" "$scratch/$name"
    chmod u+w "$scratch/$name"
    for limit in ${limits//,/ }; do
        # One stream to unpack, the same from every program.
        for i in "${!programs[@]}"; do
            "${programs[$i]}" c "/h:$limit" "/0:$scratch/$name" "/1:$scratch/$name.zk$i" </dev/null >/dev/null
            cmp -s "$scratch/$name.zk0" "$scratch/$name.zk$i" || { echo "$name: the streams differ" >&2; exit 1; }
        done
        declare -A packs=() unpacks=()
        for ((run = 0; run < runs; run++)); do
            for i in "${!programs[@]}"; do
                packs[$i]+=" $(time_ms "${programs[$i]}" c "/h:$limit" "/0:$scratch/$name" "/1:$scratch/$name.out$i")"
            done
            for i in "${!programs[@]}"; do
                unpacks[$i]+=" $(time_ms "${programs[$i]}" d "/h:$limit" "/0:$scratch/$name.zk0" "/1:$scratch/$name.un$i")"
            done
        done
        for i in "${!programs[@]}"; do
            cmp -s "$scratch/$name" "$scratch/$name.un$i" || { echo "$name: did not unpack to the source" >&2; exit 1; }
        done
        # shellcheck disable=SC2086
        if [[ -n $old ]]; then
            oc=$(median ${packs[0]}) nc=$(median ${packs[1]}) od=$(median ${unpacks[0]}) nd=$(median ${unpacks[1]})
            printf '%-12s %6s %9s %9s %9s %9s %7s %7s %7s %7s\n' "$name" "$limit" "$oc" "$nc" "$od" "$nd" \
                "$(ratio "$od" "$oc")" "$(ratio "$nd" "$nc")" "$(ratio "$nc" "$oc")" "$(ratio "$nd" "$od")"
        else
            c=$(median ${packs[0]}) d=$(median ${unpacks[0]})
            printf '%-12s %6s %9s %9s %7s\n' "$name" "$limit" "$c" "$d" "$(ratio "$d" "$c")"
        fi
        unset packs unpacks
        rm -f "$scratch/$name".*
    done
    rm -f "$scratch/$name"
done
