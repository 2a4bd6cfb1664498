#!/usr/bin/env bash
# Counts, with callgrind, the instructions the whole vormi process executes to
# pack and to unpack a file, per byte of the file, and the instructions of one
# halving of the model. Counts are exact and repeatable on the same binary, so
# they show a change that wall-clock noise would hide. Also the mispredicted
# branches per byte under callgrind's branch model (a simple predictor, not the
# processor's): where two programs execute about as many instructions, these
# tell which one waits more.
#
#     benchmarks/count-instructions.sh [-h LIMIT] [-p PROGRAM] FILE...
#
# LIMIT is the halving limit (default 1280); PROGRAM the vormi to count
# (default build/bench/vormi). Each FILE is copied to a scratch folder first.
# Prints, per file: pack and unpack instructions per byte, their mispredicted
# branches per byte, instructions per halving (the rebuild alone) and the number
# of halvings; then the whole-process count of packing an empty file.
set -euo pipefail

limit=1280
program=build/bench/vormi
while getopts "h:p:" option; do
    case $option in
        h) limit=$OPTARG ;;
        p) program=$OPTARG ;;
        *) sed -n '2,14p' "$0" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
(($# > 0)) || { sed -n '2,14p' "$0" >&2; exit 2; }
command -v valgrind >/dev/null || { echo "needs valgrind" >&2; exit 2; }
program=$(realpath "$program")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Instructions of one callgrind run of the program; extra valgrind options first.
# The run's mispredicted branches (conditional and indirect) go to $scratch/missed.
# The program runs under LC_ALL=C: its console is then code page 866, in which
# the halvings line is read, and the counts do not depend on the caller's locale.
count() {
    local options=()
    while [[ $1 == --* ]]; do options+=("$1"); shift; done
    LC_ALL=C valgrind --tool=callgrind --branch-sim=yes "${options[@]}" --callgrind-out-file="$scratch/out" \
        "$program" "$@" </dev/null >"$scratch/console" 2>"$scratch/log"
    # Collected : Ir Bc Bcm Bi Bim
    awk '/Collected :/ { print $(NF - 2) + $NF }' "$scratch/log" >"$scratch/missed"
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$scratch/log"
}

per_byte() { awk -v n="$1" -v b="$2" -v f="${3:-%.1f}" 'BEGIN { printf f, n / b }'; }

printf '%-16s %10s %10s %10s %10s %12s %10s\n' file "pack/B" "unpack/B" "pack miss" "unp. miss" "per halving" \
    halvings
for file in "$@"; do
    name=$(basename "$file")
    cp "$file" "$scratch/$name"
    bytes=$(stat -c %s "$file")
    ((bytes > 0)) || { echo "$name: empty, skipped" >&2; continue; }
    packed=$(count c "/h:$limit" "/0:$scratch/$name" "/1:$scratch/$name.zk")
    packMissed=$(<"$scratch/missed")
    # The last figure of the console's halvings line, in code page 866.
    halvings=$(iconv -f CP866 -t UTF-8 "$scratch/console" | sed -n 's/.*Ополовиниваний счетчиков: \([0-9]*\).*/\1/p')
    unpacked=$(count d "/h:$limit" "/0:$scratch/$name.zk" "/1:$scratch/$name.out")
    unpackMissed=$(<"$scratch/missed")
    cmp -s "$scratch/$name" "$scratch/$name.out" || { echo "$name: did not unpack to the same bytes" >&2; exit 1; }
    halving="-"
    if ((halvings > 0)); then
        rebuild=$(count --toggle-collect='*HufHalve*' c "/h:$limit" "/0:$scratch/$name" "/1:$scratch/$name.zk2")
        halving=$((rebuild / halvings))
    fi
    printf '%-16s %10s %10s %10s %10s %12s %10s\n' "$name" "$(per_byte "$packed" "$bytes")" \
        "$(per_byte "$unpacked" "$bytes")" "$(per_byte "$packMissed" "$bytes" %.2f)" \
        "$(per_byte "$unpackMissed" "$bytes" %.2f)" "$halving" "$halvings"
    rm -f "$scratch/$name"*
done
: >"$scratch/empty"
echo "empty file, whole pack: $(count c "/0:$scratch/empty" "/1:$scratch/empty.zk") instructions"
