#!/usr/bin/env bash
# A command-line run maps no library beside the C library and the maths library: every other
# one costs each start its mapping and relocations.   needed_libraries.sh PROGRAM [ALLOWED...]
# ALLOWED: further libraries the build links shared on purpose (the sanitizers' runtimes).
set -euo pipefail
program=$1
shift
allowed=" libc.so.6 libm.so.6 ld-linux-x86-64.so.2 $* "
status=0
needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$needed" ] || { echo "no NEEDED entry read from $program"; exit 1; }
for lib in $needed; do
    case "$allowed" in
        *" $lib "*) ;;
        *) echo "$program needs $lib"; status=1 ;;
    esac
done
exit $status
