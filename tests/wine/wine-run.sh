#!/usr/bin/env bash
# Runs a Windows program under Wine the way the Windows tests need it:
#
#     wine-run.sh program.exe [parameters...]
#     wine-run.sh --create-prefix
#
# A Russian locale makes the ANSI code page 1251 and the OEM code page 866; the
# zone is fixed (UTC+3, no daylight saving) so that date stamps are
# predictable. WINEPREFIX names the private prefix and VORMI_WINE64 the Wine
# loader; both come from the test's environment.
#
# Run by root, Wine writes to read-only files as root may, which no Windows
# user can; so then the programs run as the user nobody, and the prefix (and
# any folder a test hands them, see as_wine_user) belongs to that user.
set -euo pipefail

: "${WINEPREFIX:?the test run names its Wine prefix}"
export WINEPREFIX
export WINEDEBUG=-all
# No Mono or Gecko: console programs need neither, and their installers would
# wait for a window nobody sees.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
export TZ=MSK-3
wine=${VORMI_WINE64:-/usr/lib/wine/wine64}
run_as=()
if ((EUID == 0)); then
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$WINEPREFIX")
fi

if [[ ${1-} == --create-prefix ]]; then
    # The first start of a prefix sets it up, which takes a while: done once,
    # here, before the tests that need it.
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    if ((EUID == 0)); then
        chown nobody:nogroup "$WINEPREFIX"
        "${run_as[@]}" test -w "$WINEPREFIX" || {
            echo "the user nobody cannot reach $WINEPREFIX: the build folder must be readable by all" >&2
            exit 1
        }
    fi
    "${run_as[@]}" "$wine" wineboot --init </dev/null
    # wineboot returns before the prefix's server has finished writing.
    "${run_as[@]}" "$(dirname "$wine")/wineserver" -w || true
    exit 0
fi

exec "${run_as[@]}" "$wine" "$@"
