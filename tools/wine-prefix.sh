#!/usr/bin/env bash
# Makes or ends the one Wine prefix of a test run.
#   wine-prefix.sh create <prefix>    fresh prefix, configured for tests
#   wine-prefix.sh shutdown <prefix>  ends its wineserver
# WINEARCH and KORUMIX_WINE (the loader) come from the environment.
set -euo pipefail
action=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
wine=${KORUMIX_WINE:-wine}

case "$action" in
create)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    # The server and the services the first Wine process starts outlive this
    # script: none of them may hold ctest's output pipe open, or ctest waits
    # for them until its time-out.
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    "$wine" wineboot -i </dev/null >/dev/null 2>&1
    # An unhandled fault ends the process at once instead of starting the
    # debugger, which would wait for ever.
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /t REG_SZ /d false /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Auto /t REG_SZ /d 1 /f </dev/null >/dev/null 2>&1
    # Xvfb runs no window manager: unmanaged windows close without Wine's
    # two-second wait for one.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    echo "wine prefix ready: $WINEPREFIX"
    ;;
shutdown)
    wineserver -k 2>/dev/null || true
    ;;
*)
    echo "usage: $0 create|shutdown <prefix>" >&2
    exit 2
    ;;
esac
