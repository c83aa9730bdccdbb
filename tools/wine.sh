#!/usr/bin/env bash
# Runs symtext's Windows programs under wine: the one place that finds wine's
# tools and sets up a prefix, for tools/windows.sh, the Windows builds' tests
# (the toolchain files make it ctest's emulator) and tests/package_test.py.
#   tools/wine.sh which NAME             where wine's tool NAME (wine, wine64,
#                                        wineserver) is; status 1 if nowhere
#   tools/wine.sh loader 32|64           the loader of 32- or 64-bit programs,
#                                        if this machine can run them; else status 1
#   tools/wine.sh run 32|64 PROGRAM [ARGUMENT...]
#   tools/wine.sh start 32|64 PROGRAM    sets up $WINEPREFIX for runs of PROGRAM
#   tools/wine.sh stop                   ends the wineserver of $WINEPREFIX
set -euo pipefail
# wine's own messages would go to the standard error the tests read.
export WINEDEBUG=-all

find_tool() { # NAME
  # Debian's wine32 and wine64 put their loaders and wineserver in wine's own
  # folder (from libwine), not on PATH.
  PATH="/usr/lib/wine:$PATH" command -v "$1"
}
loader() { # 32|64
  case $1 in
    32) find_tool wine ;;
    64) find_tool wine64 ;;
    *) echo "tools/wine.sh: programs are 32- or 64-bit, not $1" >&2; return 1 ;;
  esac
}

case ${1:-} in
  which) find_tool "$2" ;;
  loader)
    # wine starts a 32-bit Windows program as a 32-bit Linux one.
    [ "$2" != 32 ] || python3 "$(dirname "$0")/can_run_i386.py" || exit 1
    loader "$2" ;;
  run)
    wine=$(loader "$2") || { echo "tools/wine.sh: no wine here for $2-bit programs" >&2; exit 1; }
    exec "$wine" "${@:3}" ;;
  start)
    : "${WINEPREFIX:?tools/wine.sh start: set WINEPREFIX}"
    wine=$(loader "$2")
    server=$(find_tool wineserver)
    # A new prefix sets itself up, starting services that outlive the program
    # that started them: none of that may hold the pipes of a run that is
    # checked. So the prefix is made, its server left to end, and one server
    # kept up for all the runs, not one per run.
    "$wine" wineboot --init >/dev/null 2>&1 || true # it may report the new prefix as a failure
    "$server" -w
    "$server" -p >/dev/null 2>&1
    # The first program a new prefix starts finishes setting the prefix up,
    # which can take long; let that happen, on no pipes, before anything is timed.
    timeout 300 "$wine" "$3" >/dev/null 2>&1 || true ;;
  stop) "$(find_tool wineserver)" -k 2>/dev/null || true ;;
  *) echo "usage: tools/wine.sh which|loader|run|start|stop ... (its first lines say more)" >&2; exit 2 ;;
esac
