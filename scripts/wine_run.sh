#!/usr/bin/env bash
# wine_run.sh PREFIX PROGRAM.exe ARGS...: runs a Windows program under Wine in the Wine prefix
# PREFIX (CTest's cross-compiling emulator for the Windows build), quietly; the exit status is
# the program's.
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
