#!/usr/bin/env bash
# The compressed format is the same on every target: each vormi program packs
# the same sources into byte-identical files, and each unpacks what any other
# packed.
#
#     same-on-every-target.sh work-folder corpus-folder label=command...
#
# A command is the program, with an emulator in front of it where it needs
# one (qemu-s390x -L /usr/s390x-linux-gnu build-s390x/bench/vormi), or
# "wine32 vormi.exe" / "wine64 vormi.exe" for a Windows program under Wine of
# that kind. The first target is the reference the others are compared with.
#
# The sources are the first 200 KB of each file in corpus-folder or, where
# there is none, generated text and binary data; an empty file and a one-byte
# file besides. Every copy gets the same modification time and permissions,
# and every program runs in the zone UTC+3, so that the attribute word and
# the date stamp in the header are the same too. The last line counts the
# checks passed and failed.
set -euo pipefail

work=$(realpath -m "$1")
corpus=$2
shift 2
here=$(cd "$(dirname "$0")/../.." && pwd)
wine_run=$here/tests/wine/wine-run.sh
export TZ=MSK-3

rm -rf "$work"
mkdir -p "$work/sources"
# in_wine kind parameters...: wine-run.sh with Wine of that kind (wine32 or
# wine64) and the stage this script made for it.
declare -A wine_loader=([wine32]=/usr/lib/wine/wine [wine64]=/usr/lib/wine/wine64)
declare -A wine_arch=([wine32]=win32 [wine64]=win64)
in_wine() {
    local kind=$1
    shift
    VORMI_WINE=${wine_loader[$kind]} VORMI_WINE_ARCH=${wine_arch[$kind]} \
        VORMI_WINE_STAGE_RECORD=$work/$kind-stage bash "$wine_run" "$@"
}
stages=()
cleanup() {
    for kind in "${stages[@]}"; do in_wine "$kind" --remove-prefix || true; done
}
trap cleanup EXIT

# The sources.
if compgen -G "$corpus/*.txt" >/dev/null || compgen -G "$corpus/*.bin" >/dev/null; then
    for file in "$corpus"/*.txt "$corpus"/*.bin; do
        [[ -f $file ]] && head -c 200000 "$file" >"$work/sources/$(basename "$file")"
    done
else
    echo "no corpus in $corpus: generated sources"
    head -c 200000 "$here/bench/test.txt" >"$work/sources/text.txt"
    # Records of a counter, small numbers and zeros, as binary files have them.
    perl -e 'for my $i (0 .. 12499) { print pack("VvvC8", $i, $i % 7, 0, map { ($i * 31 + $_) % 251 } 0 .. 7) }' \
        >"$work/sources/binary.bin"
fi
: >"$work/sources/empty.txt"
printf 'A' >"$work/sources/one.txt"
chmod 644 "$work"/sources/*
touch -d '2025-01-01 12:00:00' "$work"/sources/*
sources=()
for file in "$work"/sources/*; do sources+=("$(basename "$file")"); done

labels=()
declare -A commands windows folders names
for target in "$@"; do
    label=${target%%=*}
    labels+=("$label")
    commands[$label]=${target#*=}
done

# prepare label: the target's work folder, as the program names it.
prepare() {
    local label=$1 command=${commands[$1]}
    case $command in
        wine32\ * | wine64\ *)
            local kind=${command%% *}
            if [[ ! -f $work/$kind-stage ]]; then
                stages+=("$kind")
                in_wine "$kind" --create-prefix >"$work/$kind-prefix.log" 2>&1
            fi
            windows[$label]=$kind
            folders[$label]=$(in_wine "$kind" --folder)
            names[$label]=$(printf 'Z:%s' "${folders[$label]//\//\\}")
            ;;
        *)
            folders[$label]=$work/$label
            mkdir -p "${folders[$label]}"
            names[$label]=${folders[$label]}
            ;;
    esac
}

# run label parameters...: the target's program once, its console output dropped.
run() {
    local label=$1 command=${commands[$1]}
    shift
    if [[ -n ${windows[$label]-} ]]; then
        in_wine "${windows[$label]}" "${command#* }" "$@" </dev/null >/dev/null
    else
        # shellcheck disable=SC2086  # the command's words: emulator, its options, the program
        $command "$@" </dev/null >/dev/null
    fi
}

# put label file: a file into the target's folder, which its programs' user may write.
put() {
    cp -p "$2" "${folders[$1]}/"
    if ((EUID == 0)) && [[ -n ${windows[$1]-} ]]; then chown -R nobody:nogroup "${folders[$1]}"; fi
}

passed=0
failed=0
check() {
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

for label in "${labels[@]}"; do
    prepare "$label"
    for source in "${sources[@]}"; do put "$label" "$work/sources/$source"; done
done

# Every target packs every source; each compressed file is compared with the reference's.
reference=${labels[0]}
for label in "${labels[@]}"; do
    for source in "${sources[@]}"; do
        run "$label" c /f:"${names[$label]}" /0:"$source" /1:"$source.zk"
    done
    echo "$label packed ${#sources[@]} files"
done
same_as_reference() {
    local label=$1 source=$2
    local packed=${folders[$label]}/$source.zk expected=${folders[$reference]}/$source.zk
    if [[ ! -f $packed ]]; then
        echo "FAILED: $label did not pack $source"
        return 1
    fi
    if ! cmp "$expected" "$packed" >/dev/null; then
        echo "FAILED: $label packs $source otherwise than $reference: $(cmp "$expected" "$packed" 2>&1 | head -1)"
        return 1
    fi
}
for label in "${labels[@]}"; do
    for source in "${sources[@]}"; do check same_as_reference "$label" "$source"; done
done

# Every target unpacks what each target packed. Where two compressed files are
# byte-identical, one of them stands for both.
unpacks_right() {
    local label=$1 from=$2 source=$3
    local restored=${folders[$label]}/$source.from-$from
    run "$label" d /f:"${names[$label]}" /0:"$source.zk.from-$from" /1:"$source.from-$from"
    if ! cmp "$work/sources/$source" "$restored" >/dev/null 2>&1; then
        echo "FAILED: $label does not unpack $source as $from packed it"
        return 1
    fi
}
for from in "${labels[@]}"; do
    for source in "${sources[@]}"; do
        packed=${folders[$from]}/$source.zk
        [[ -f $packed ]] || continue
        if [[ $from != "$reference" ]] && cmp -s "$packed" "${folders[$reference]}/$source.zk"; then continue; fi
        cp "$packed" "$work/$source.zk.from-$from"
        for label in "${labels[@]}"; do
            put "$label" "$work/$source.zk.from-$from"
            check unpacks_right "$label" "$from" "$source"
        done
    done
done
echo "unpacked on ${#labels[@]} targets"

echo "cross-target: $passed passed, $failed failed"
((failed == 0))
