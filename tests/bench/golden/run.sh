#!/usr/bin/env bash
# Runs vormi for one named case in a fresh temporary folder and compares its
# complete console bytes with <case>.txt.
#
# The expected files are UTF-8 text; at test time they become code page 866
# with CR LF line ends through iconv (independent of the program's own
# conversion). In them, @DIR@ stands for the temporary folder, <BEL> for the
# bell character, and @MS@ and @BPS@ for the time and speed of a report line,
# the only values that differ from run to run; the same two values are masked
# in the program's output.
set -euo pipefail

vormi=$1
case_name=$2
expected_dir=$3

dir=$(mktemp -d)
trap 'chmod -R u+w "$dir"; rm -rf "$dir"' EXIT

run() { "$vormi" "$@" </dev/null >"$dir/actual.raw"; }
quiet() { "$vormi" "$@" </dev/null >/dev/null; }
sample() { cp "$expected_dir/sample.txt" "$dir/$1"; }
# 2500 bytes of "1\n2\n3\n..." and a copy for comparisons.
numbers() { seq 1 1000 | head -c 2500 >"$dir/$1"; }
put_byte() { printf '%s' "$2" | dd of="$dir/$1" bs=1 seek="$3" conv=notrunc status=none; }
# The compressed file stays read-only, so packing onto it fails and the
# unpack that follows restores what it held before: the numbers.
packed_numbers() {
    numbers other.txt
    quiet c /f:"$dir" /0:other.txt /1:k._tx
    chmod a-w "$dir/k._tx"
}

case $case_name in
    no_parameters) run ;;
    unknown_word) run x /f:"$dir" ;;
    capital_c) run C ;;
    capital_cd) run CD ;;
    cyrillic_cd) run сd ;;
    option_as_word) run /0:x /b:2000 ;;
    repeated_option) run c /0:a /0:b ;;
    capital_option) run c /B:4096 ;;
    buffer_500) run c /f:"$dir" /b:500 ;;
    buffer_hex) run c /f:"$dir" /b:\$10000 ;;
    buffer_suffix) run c /f:"$dir" /b:4096k ;;
    buffer_all_ones) run c /f:"$dir" /b:\$FFFFFFFF ;;
    repeat_0) run c /f:"$dir" /r:0 ;;
    repeat_1) run c /f:"$dir" /r:1 ;;
    repeat_101) run c /f:"$dir" /r:101 ;;
    halving_1000) run c /f:"$dir" /h:1000 ;;
    halving_0) run c /f:"$dir" /h:0 ;;
    halving_5000) run c /f:"$dir" /h:5000 ;;
    empty_source_name) run c /f:"$dir" /0: ;;
    missing_source) run c /0:"$dir/nothing.txt" /1:"$dir/nothing._tx" ;;
    missing_packed) run d /f:"$dir" /0:nothing._tx /1:out.txt ;;
    pack_existing)
        sample test.txt
        printf 'old contents' >"$dir/test._tx"
        run c /f:"$dir"
        ;;
    round_trip)
        sample s.txt
        run cd /0:s.txt /1:"$dir/s._tx" /f:"$dir" /2:"$dir/s.!tx"
        ;;
    restore_onto_source)
        sample s.txt
        run cd /f:"$dir" /0:s.txt /2:s.txt
        cmp -s "$expected_dir/sample.txt" "$dir/s.txt" || { echo "the source was changed"; exit 1; }
        ;;
    unpack_fails_after_earlier_run)
        # An earlier run left a correct test.!tx; this run's pack and unpack fail.
        sample s.txt
        quiet cd /f:"$dir" /0:s.txt
        mkdir "$dir/folder"
        run cd /f:"$dir" /0:s.txt /1:folder
        ;;
    repeat_read_only_source)
        sample s.txt
        chmod a-w "$dir/s.txt"
        run cd /f:"$dir" /0:s.txt /r:2
        ;;
    unpack_not_compressed)
        # With the default names, d reads test.txt as the compressed file.
        sample test.txt
        quiet c /f:"$dir"
        cp "$dir/test._tx" "$dir/packed.copy"
        run d /f:"$dir"
        cmp -s "$dir/packed.copy" "$dir/test._tx" || { echo "the compressed file was changed"; exit 1; }
        ;;
    closed_output)
        # The reader of standard output goes away after 10 bytes; every step still runs.
        sample s.txt
        set +o pipefail
        "$vormi" cd /f:"$dir" /0:s.txt </dev/null | head -c 10 >/dev/null
        status=${PIPESTATUS[0]}
        set -o pipefail
        [ "$status" = 0 ] || { echo "vormi ended with status $status"; exit 1; }
        cmp -s "$dir/s.txt" "$dir/test.!tx" || { echo "the unpack did not run"; exit 1; }
        exit 0
        ;;
    differs_first_byte)
        packed_numbers
        numbers a.txt
        put_byte a.txt X 0
        run cd /f:"$dir" /0:a.txt /1:k._tx /2:r.txt /b:1000
        ;;
    differs_end_of_block)
        packed_numbers
        numbers a.txt
        put_byte a.txt X 999
        run cd /f:"$dir" /0:a.txt /1:k._tx /2:r.txt /b:1000
        ;;
    differs_in_length)
        packed_numbers
        numbers a.txt
        printf 'X' >>"$dir/a.txt"
        run cd /f:"$dir" /0:a.txt /1:k._tx /2:r.txt /b:1000
        ;;
    *)
        echo "unknown case $case_name" >&2
        exit 2
        ;;
esac

oem() { printf '%s' "$1" | iconv -f UTF-8 -t CP866; }
ms=$(oem 'мс: ')
bps=$(oem 'байт/с: ')
LC_ALL=C sed -e "s|\\(${ms}\\)[^;]*;|\\1@MS@;|" -e "s|\\(${bps}\\)[^.]*\\.|\\1@BPS@.|" \
    "$dir/actual.raw" >"$dir/actual"

sed -e "s|@DIR@|$dir|g" -e "s|<BEL>|$(printf '\a')|g" "$expected_dir/$case_name.txt" |
    iconv -f UTF-8 -t CP866 | sed -e 's/$/\r/' >"$dir/expected"

if ! cmp -s "$dir/expected" "$dir/actual"; then
    echo "output of case $case_name differs (expected <, actual >; shown in UTF-8):"
    readable() { iconv -f CP866 -t UTF-8 "$1" | sed -e 's/\r$/<CR>/' -e "s/$(printf '\a')/<BEL>/g"; }
    diff <(readable "$dir/expected") <(readable "$dir/actual") || true
    exit 1
fi
