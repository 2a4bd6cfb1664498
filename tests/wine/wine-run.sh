#!/usr/bin/env bash
# Runs a Windows program under Wine the way the Windows tests need it:
#
#     wine-run.sh program.exe [parameters...]
#     wine-run.sh --create-prefix    # a fresh stage and Wine prefix, once per test run
#     wine-run.sh --remove-prefix    # the stage removed, after the test run
#     wine-run.sh --folder           # prints a fresh folder the programs may use
#
# A Russian locale makes the ANSI code page 1251 and the OEM code page 866; the
# zone is fixed (UTC+3, no daylight saving) so that date stamps are
# predictable. From the test's environment: VORMI_WINE names the Wine loader
# (wine64, or wine for the 32-bit programs), VORMI_WINE_ARCH the prefix's kind
# (win64 or win32), and VORMI_WINE_STAGE_RECORD a file in the build folder that
# names the stage of this test run.
#
# Run by root, Wine writes to read-only files as root may, which no Windows
# user can; so then the programs run as the user nobody. The build folder may
# be one that nobody cannot enter (a checkout in a private home folder), so
# everything the programs touch lives in the stage, a folder made afresh under
# /tmp for each test run, which nobody can reach: the Wine prefix (and with it
# the programs' temporary folder), a copy of each program run, and the folders
# handed out by --folder.
set -euo pipefail

: "${VORMI_WINE_STAGE_RECORD:?the test run names the file that records its stage}"
# Wine's errors only: a start that fails says why in the failing test's output.
export WINEDEBUG=-all,err+all
# No Mono or Gecko: console programs need neither, and their installers would
# wait for a window nobody sees.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
export TZ=MSK-3
wine=${VORMI_WINE:-/usr/lib/wine/wine64}
export WINEARCH=${VORMI_WINE_ARCH:-win64}

run_as=()
if ((EUID == 0)); then
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# Debian's Wine has no preloader to reserve the addresses Windows programs
# need, so with the addresses of a Linux process chosen at random a start now
# and then fails ("failed to map the shared user data", exit code 1; inside a
# program, CreateProcess's error 1359): 3 of about 6,000 golden-case runs, two
# loops side by side. Without the randomness the layout is the same every
# time, and 8,000 runs passed.
if setarch -R true 2>/dev/null; then
    run_as+=(setarch -R)
fi
# hand_over folder: the folder becomes the programs' own.
hand_over() { if ((EUID == 0)); then chown -R nobody:nogroup "$1"; fi; }

# in_prefix stage command...: the command as the programs run (their user, no
# address randomisation), in the stage's prefix.
in_prefix() {
    local prefix=$1/prefix
    shift
    "${run_as[@]}" env WINEPREFIX="$prefix" HOME="$prefix" "$@"
}
wineserver=$(dirname "$wine")/wineserver

# The stage of the last test run, its Wine server stopped; only a folder this
# script made is ever removed.
remove_stage() {
    local stage
    stage=$(cat "$VORMI_WINE_STAGE_RECORD" 2>/dev/null) || return 0
    if [[ $stage == /tmp/vormi-wine.* && -d $stage && ! -L $stage ]]; then
        in_prefix "$stage" "$wineserver" -k 2>/dev/null || true
        rm -rf "$stage"
    fi
    rm -f "$VORMI_WINE_STAGE_RECORD"
}

case ${1-} in
    --create-prefix)
        # The first start of a prefix sets it up, which takes a while: done once,
        # here, before the tests that need it.
        remove_stage
        # /tmp, not TMPDIR: the stage must be reachable by the user nobody.
        stage=$(mktemp -d /tmp/vormi-wine.XXXXXX)
        chmod 755 "$stage"
        echo "$stage" >"$VORMI_WINE_STAGE_RECORD"
        mkdir "$stage/prefix"
        hand_over "$stage/prefix"
        in_prefix "$stage" test -w "$stage/prefix" || {
            echo "the user nobody cannot reach $stage: /tmp must be open to all" >&2
            exit 1
        }
        in_prefix "$stage" "$wine" wineboot --init </dev/null
        # wineboot returns before the prefix's server has finished writing.
        in_prefix "$stage" "$wineserver" -w || true
        exit 0
        ;;
    --remove-prefix)
        remove_stage
        exit 0
        ;;
esac

stage=$(cat "$VORMI_WINE_STAGE_RECORD" 2>/dev/null) && [[ -d $stage/prefix ]] || {
    echo "no Wine prefix for this test run: run the wine_prefix test first" >&2
    exit 1
}
if [[ ${1-} == --folder ]]; then
    folder=$(mktemp -d "$stage/folder.XXXXXX")
    hand_over "$folder"
    echo "$folder"
    exit 0
fi

# The program runs from a copy in the stage, in a folder of its own that is
# removed afterwards; its exit code is the run's.
program=$1
shift
copy_folder=$(mktemp -d "$stage/program.XXXXXX")
trap 'rm -rf "$copy_folder"' EXIT
chmod 755 "$copy_folder"
cp "$program" "$copy_folder/"
status=0
in_prefix "$stage" "$wine" "$copy_folder/$(basename "$program")" "$@" || status=$?
exit "$status"
