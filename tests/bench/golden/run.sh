#!/usr/bin/env bash
# The whole-program golden tests: runs vormi for one named case in a fresh
# temporary folder and compares its complete console bytes with <case>.txt.
#
#     run.sh --list | --list-posix | --list-windows
#     run.sh case[.encoding] expected-folder -- [emulator...] vormi
#     run.sh case expected-folder --windows wine-run.sh raw-command-line.exe -- vormi.exe
#
# Each case is a function below: case_<name> for every build,
# posix_case_<name> for the Linux builds only (pipes and a second process) and
# windows_case_<name> for the Windows builds only. --list prints the names of
# the first kind, --list-posix and --list-windows those of the others; CMake
# makes a test of each, so a new function is a new test.
#
# The Linux program runs under LC_ALL=C, where its console texts are code
# page 866 as on a Windows console. A few cases (the locale_cases below) also
# run under other locales as case.utf-8 and case.koi8-r, listed with the
# posix cases: the program then writes the locale's character set, and the
# same expected file is compared in that set. A variant whose locale is
# missing here is skipped (exit code 77).
#
# The expected files are UTF-8 text; at test time they become the console's
# character set (code page 866 unless a variant says otherwise) with CR LF
# line ends through iconv (independent of the program's own conversion). In
# them, @DIR@ stands for the temporary folder, <BEL> for the bell character,
# and @MS@ and @BPS@ for the time and speed of a report line, the only values
# that differ from run to run; the same two values are masked in the
# program's output.
#
# With VORMI_BLESS=1 in the environment a case whose output differs rewrites
# its expected file from the output, masked and written as above, and passes.
#
# The program's command may start with an emulator (qemu for another
# processor). With --windows the program is vormi.exe under Wine, started
# through raw-command-line.exe so that it sees exactly the command line written
# here, and by the Windows rules: names carry backslashes, and the temporary
# folder is the Wine drive Z: form of its path. The expected text is
# win32/<case>.txt where the Windows output differs, else <case>.txt with each
# "@DIR@/" read as "@DIR@\".
set -euo pipefail


# checked output-file [parameters...]: the program, its output to output-file.
# The program always exits 0; any other status (a crash, a launch that failed)
# is said, with what the program wrote, rather than ending the case silently.
checked() {
    local output=$1 status=0
    shift
    start "$@" >"$output" || status=$?
    [ "$status" = 0 ] && return
    echo "vormi $* ended with status $status; its output:" >&2
    iconv -c -f "$charset" -t UTF-8 "$output" >&2 || true
    exit 1
}
run() { checked "$dir/actual.raw" "$@"; }
quiet() { checked "$dir/quiet.raw" "$@"; }
# watched [parameters...]: the Linux program, ended if it runs a minute.
watched() {
    local status=0
    timeout 60 "${program[@]}" "$@" </dev/null || status=$?
    [ "$status" = 0 ] || { echo "vormi $1 ended with status $status" >&2; exit 1; }
}
console_text() { printf '%s' "$1" | iconv -f UTF-8 -t "$charset"; }
sample() { cp "$expected_dir/sample.txt" "$dir/$1"; }
# 2500 bytes of "1\n2\n3\n..." and a copy for comparisons.
numbers() { head -c 2500 <(seq 1 1000) >"$dir/$1"; }
put_byte() { printf '%s' "$2" | dd of="$dir/$1" bs=1 seek="$3" conv=notrunc status=none; }
# The compressed file stays read-only, so packing onto it fails and the
# unpack that follows restores what it held before: the numbers.
packed_numbers() {
    numbers other.txt
    quiet c /f:"$at" /0:other.txt /1:k._tx
    chmod a-w "$dir/k._tx"
}

# The cases. Each prepares its files in $dir (named $at on the program's
# command line, with $sep between folder and name) and runs the program once
# with run, whose output is compared; quiet runs it without.

case_no_parameters() { run; }
case_unknown_word() { run x /f:"$at"; }
case_capital_c() { run C; }
case_capital_cd() { run CD; }
case_cyrillic_cd() { run сd; }
case_option_as_word() { run /0:x /b:2000; }
case_repeated_option() { run c /0:a /0:b; }
case_capital_option() { run c /B:4096; }
case_buffer_500() { run c /f:"$at" /b:500; }
case_buffer_hex() { run c /f:"$at" /b:\$10000; }
case_buffer_suffix() { run c /f:"$at" /b:4096k; }
case_buffer_all_ones() { run c /f:"$at" /b:\$FFFFFFFF; }
case_repeat_0() { run c /f:"$at" /r:0; }
case_repeat_1() { run c /f:"$at" /r:1; }
case_repeat_101() { run c /f:"$at" /r:101; }
case_halving_1000() { run c /f:"$at" /h:1000; }
case_halving_0() { run c /f:"$at" /h:0; }
case_halving_5000() { run c /f:"$at" /h:5000; }
case_empty_source_name() { run c /f:"$at" /0:; }
case_missing_source() { run c /0:"$at${sep}nothing.txt" /1:"$at${sep}nothing._tx"; }
case_missing_packed() { run d /f:"$at" /0:nothing._tx /1:out.txt; }
case_pack_existing() {
    sample test.txt
    printf 'old contents' >"$dir/test._tx"
    run c /f:"$at"
}
case_round_trip() {
    sample s.txt
    run cd /0:s.txt /1:"$at${sep}s._tx" /f:"$at" /2:"$at${sep}s.!tx"
}
case_restore_onto_source() {
    sample s.txt
    run cd /f:"$at" /0:s.txt /2:s.txt
    cmp -s "$expected_dir/sample.txt" "$dir/s.txt" || { echo "the source was changed"; exit 1; }
}
case_unpack_fails_after_earlier_run() {
    # An earlier run left a correct test.!tx; this run's pack and unpack fail.
    sample s.txt
    quiet cd /f:"$at" /0:s.txt
    mkdir "$dir/folder"
    run cd /f:"$at" /0:s.txt /1:folder
}
case_repeat_read_only_source() {
    sample s.txt
    chmod a-w "$dir/s.txt"
    run cd /f:"$at" /0:s.txt /r:2
}
case_unpack_not_compressed() {
    # With the default names, d reads test.txt as the compressed file.
    sample test.txt
    quiet c /f:"$at"
    cp "$dir/test._tx" "$dir/packed.copy"
    run d /f:"$at"
    cmp -s "$dir/packed.copy" "$dir/test._tx" || { echo "the compressed file was changed"; exit 1; }
}
case_closed_output() {
    # The reader of standard output goes away after 10 bytes; every step still runs.
    sample s.txt
    set +o pipefail
    start cd /f:"$at" /0:s.txt | head -c 10 >/dev/null
    status=${PIPESTATUS[0]}
    set -o pipefail
    [ "$status" = 0 ] || { echo "vormi ended with status $status"; exit 1; }
    cmp -s "$dir/s.txt" "$dir/test.!tx" || { echo "the unpack did not run"; exit 1; }
    exit 0
}
case_differs_first_byte() {
    packed_numbers
    numbers a.txt
    put_byte a.txt X 0
    run cd /f:"$at" /0:a.txt /1:k._tx /2:r.txt /b:1000
}
case_differs_end_of_block() {
    packed_numbers
    numbers a.txt
    put_byte a.txt X 999
    run cd /f:"$at" /0:a.txt /1:k._tx /2:r.txt /b:1000
}
case_differs_in_length() {
    packed_numbers
    numbers a.txt
    printf 'X' >>"$dir/a.txt"
    run cd /f:"$at" /0:a.txt /1:k._tx /2:r.txt /b:1000
}
case_pack_onto_open_source() {
    # The source is open denying writers, so it cannot become its own compressed file.
    sample s.txt
    run c /f:"$at" /0:s.txt /1:s.txt
    cmp -s "$expected_dir/sample.txt" "$dir/s.txt" || { echo "the source was changed"; exit 1; }
}
posix_case_unpack_into_pipe_reader_left() {
    # The restored file is a pipe whose reader leaves after 100 bytes, far
    # fewer than the pipe holds: the write fails (error 19) and the run ends.
    # A watchdog ends a run that blocks.
    seq 1 150000 >"$dir/s.txt"
    quiet c /f:"$at" /0:s.txt /1:s._tx
    set +o pipefail
    timeout 60 "${program[@]}" d /f:"$at" /0:s._tx /1:/dev/stdout </dev/null | head -c 100 >/dev/null
    status=${PIPESTATUS[0]}
    set -o pipefail
    [ "$status" = 0 ] || { echo "vormi d into /dev/stdout ended with status $status"; exit 1; }
    watched d /f:"$at" /0:s._tx /1:/dev/fd/3 3> >(head -c 100 >/dev/null) >"$dir/actual.raw"
}
posix_case_unread_named_pipe() {
    # A named pipe that nobody reads cannot be written, neither as the
    # restored file nor as the compressed one.
    sample s.txt
    quiet c /f:"$at" /0:s.txt /1:s._tx
    mkfifo "$dir/pipe"
    watched d /f:"$at" /0:s._tx /1:pipe >"$dir/actual.raw"
    watched c /f:"$at" /0:s.txt /1:pipe >>"$dir/actual.raw"
}
posix_case_file_being_written() {
    # A first run unpacks an empty file from a named pipe and waits there
    # for the end marker with the file that is to replace w.txt open. Meanwhile a
    # second run may neither pack nor unpack into w.txt, and leaves it alone.
    sample s.txt
    : >"$dir/empty.txt"
    quiet c /f:"$at" /0:empty.txt /1:empty._tx
    quiet c /f:"$at" /0:s.txt /1:s._tx
    mkfifo "$dir/feed"
    printf 'earlier contents' >"$dir/w.txt"
    exec 3<>"$dir/feed"
    head -c -4 "$dir/empty._tx" >&3
    timeout 60 "${program[@]}" d /f:"$at" /0:feed /1:w.txt </dev/null >"$dir/first.raw" &
    first=$!
    # The first run holds w.txt once it writes the file that is to replace it.
    for ((i = 0; i < 600; i++)); do
        [ ! -e "$dir/w.txt.vormi-part" ] || break
        sleep 0.1
    done
    run c /f:"$at" /0:s.txt /1:w.txt
    start d /f:"$at" /0:s._tx /1:w.txt >>"$dir/actual.raw"
    tail -c 4 "$dir/empty._tx" >&3
    exec 3>&-
    wait "$first" || { echo "the first run ended with status $?"; exit 1; }
    ! grep -q "$(console_text 'ОШИБКА')" "$dir/first.raw" || { echo "the first run failed"; exit 1; }
    [ ! -s "$dir/w.txt" ] || { echo "the second run wrote w.txt"; exit 1; }
}
windows_case_work_folder_from_executable() {
    # Without /f: the names go to the folder vormi.exe was started from.
    sample test.txt
    cp "$vormi" "$dir/vormi.exe"
    vormi=$dir/vormi.exe
    run cd
}
windows_case_quoted_parameters() {
    # The program splits its command line by its own rules.
    sample "my file.txt"
    start_line "cd \"/0:my file.txt\" \"\"  /f:$at \"/b:  4096\" /2:\"out file\".txt" >"$dir/actual.raw"
}
windows_case_folder_delimiters() {
    # Backslash and colon end a folder, a slash does not.
    run c /f:"$at" /0:data/x.bin '/1:sub\k._tx'
}

# A cd report, an error line, and the usage text after a bad parameter: the
# cases that also run under each locale of locale_variants (name suffix,
# locale, character set).
locale_cases=(round_trip missing_source buffer_suffix)
locale_variants=("utf-8 C.UTF-8 UTF-8" "koi8-r ru_RU.KOI8-R KOI8-R")

list() { declare -F | sed -n "s/^declare -f $1//p"; }
list_locale_variants() {
    for c in "${locale_cases[@]}"; do
        for v in "${locale_variants[@]}"; do echo "$c.${v%% *}"; done
    done
}
case ${1-} in
    --list) list case_ && exit 0 ;;
    --list-posix) list posix_case_ && list_locale_variants && exit 0 ;;
    --list-windows) list windows_case_ && exit 0 ;;
esac

case_name=$1
console_locale=C
charset=CP866
variant=
if [[ $case_name == *.* ]]; then
    variant=${case_name##*.}
    case_name=${case_name%.*}
    for v in "${locale_variants[@]}"; do
        read -r suffix locale_name locale_charset <<<"$v"
        [[ $suffix == "$variant" ]] || continue
        console_locale=$locale_name
        charset=$locale_charset
    done
    [[ $charset != CP866 ]] || { echo "unknown encoding $variant" >&2; exit 2; }
fi
expected_dir=$2
shift 2
windows=false
if [[ $1 == --windows ]]; then
    windows=true
    wine_run=$2
    launcher=$3
    shift 3
fi
[[ $1 == -- ]] || { echo "run.sh: the program's command follows --" >&2; exit 2; }
shift
command=("$@")
vormi=${command[-1]}
if [[ -n $variant ]]; then
    if ((${#command[@]} > 1)); then
        echo "SKIPPED: an emulated program's C library reads neither this machine's locales nor its iconv modules"
        exit 77
    fi
    if [[ $(LC_ALL=$console_locale locale charmap 2>/dev/null) != "$charset" ]]; then
        echo "SKIPPED: the locale $console_locale is missing here (CI generates it: see .ci/run)"
        exit 77
    fi
fi
if declare -F "case_$case_name" >/dev/null; then
    case_function=case_$case_name
elif $windows && declare -F "windows_case_$case_name" >/dev/null; then
    case_function=windows_case_$case_name
elif ! $windows && declare -F "posix_case_$case_name" >/dev/null; then
    case_function=posix_case_$case_name
else
    echo "unknown case $case_name" >&2
    exit 2
fi

if $windows; then
    # The folders come from the Wine stage, which the programs' user can reach
    # wherever the build folder is (see wine-run.sh); vormi.exe runs from a copy.
    dir=$(bash "$wine_run" --folder)
    program_dir=$(bash "$wine_run" --folder)
    trap 'chmod -R u+w "$dir"; rm -rf "$dir" "$program_dir"' EXIT
    cp "$vormi" "$program_dir/vormi.exe"
    vormi=$program_dir/vormi.exe
    # Wine's drive Z: is the root of the Linux file system.
    windows_name() { printf 'Z:%s' "${1//\//\\}"; }
    at=$(windows_name "$dir")
    sep='\'
    # The programs run as nobody when this runs as root (see wine-run.sh), so
    # the folder must be theirs.
    own() { if ((EUID == 0)); then chown -R nobody:nogroup "$dir" "$program_dir"; fi; }
    # start [parameters...]: the program with the parameters joined by blanks;
    # start_line "line": the program with exactly the line after its name.
    start_line() {
        own
        VORMI_COMMAND_LINE="\"$(windows_name "$vormi")\" $1" bash "$wine_run" "$launcher" </dev/null
    }
    start() { start_line "$*"; }
else
    dir=$(mktemp -d)
    trap 'chmod -R u+w "$dir"; rm -rf "$dir"' EXIT
    at=$dir
    sep=/
    # The program with its emulator, if it has one, under the case's locale
    # whatever the caller's.
    program=(env LC_ALL="$console_locale" "${command[@]}")
    start() { "${program[@]}" "$@" </dev/null; }
fi

"$case_function"

ms=$(console_text 'мс: ')
bps=$(console_text 'байт/с: ')
LC_ALL=C sed -e "s|\\(${ms}\\)[^;]*;|\\1@MS@;|" -e "s|\\(${bps}\\)[^.]*\\.|\\1@BPS@.|" \
    "$dir/actual.raw" >"$dir/actual"

expected_text=$expected_dir/$case_name.txt
if $windows; then
    if [[ -f $expected_dir/win32/$case_name.txt ]]; then
        expected_text=$expected_dir/win32/$case_name.txt
    elif [[ -f $expected_text ]]; then
        sed -e 's|@DIR@/|@DIR@\\|g' "$expected_text" >"$dir/expected.windows"
        expected_text=$dir/expected.windows
    fi
fi
# perl, not sed: a Windows folder's backslashes must reach the text as they are.
# A new case has no expected file yet: nothing is expected until it is blessed.
touch "$dir/expected"
if [[ -f $expected_text ]]; then
    AT=$at perl -pe 's/\@DIR\@/$ENV{AT}/g; s/<BEL>/\a/g' "$expected_text" |
        iconv -f UTF-8 -t "$charset" | sed -e 's/$/\r/' >"$dir/expected"
fi

if cmp -s "$dir/expected" "$dir/actual"; then
    exit 0
fi
if [[ ${VORMI_BLESS-} == 1 && -z $variant ]]; then
    # The output as an expected file: UTF-8, LF line ends, the folder and the
    # bell written as their stand-ins. The Windows program's goes to win32/,
    # since a shared file is blessed from the Linux program.
    blessed=$expected_dir/$case_name.txt
    $windows && blessed=$expected_dir/win32/$case_name.txt
    iconv -f "$charset" -t UTF-8 "$dir/actual" | AT=$at perl -pe 's/\r$//; s/\Q$ENV{AT}\E/\@DIR\@/g; s/\a/<BEL>/g' \
        >"$blessed"
    echo "blessed $blessed"
    exit 0
fi
echo "output of case $case_name${variant:+ in $charset} differs (expected <, actual >; shown in UTF-8):"
readable() { iconv -c -f "$charset" -t UTF-8 "$1" | sed -e 's/\r$/<CR>/' -e "s/$(printf '\a')/<BEL>/g"; }
diff <(readable "$dir/expected") <(readable "$dir/actual") || true
exit 1
