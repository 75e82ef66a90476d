#!/bin/sh
# check_imports.sh PROGRAM.exe: the program imports only KERNEL32, USER32, GDI32, COMCTL32, WS2_32,
# COMDLG32 and SHELL32 (no C run-time) and stays under 96 KB.
exe=${1:?usage: check_imports.sh PROGRAM.exe}
OBJDUMP=${OBJDUMP:-x86_64-w64-mingw32-objdump}
[ -f "$exe" ] || { echo "check_imports: $exe missing"; exit 1; }
dlls=$("$OBJDUMP" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
echo "imports:" $dlls
bad=0
for d in $dlls; do
    case "$d" in
        KERNEL32.DLL|USER32.DLL|GDI32.DLL|COMCTL32.DLL|WS2_32.DLL|COMDLG32.DLL|SHELL32.DLL) ;;
        *) echo "check_imports: unexpected import $d"; bad=1 ;;
    esac
done
size=$(wc -c <"$exe")
echo "size: $size bytes"
if [ "$size" -ge 98304 ]; then echo "check_imports: larger than 96 KB"; bad=1; fi
[ $bad = 0 ] && echo "check_imports: ok"
exit $bad
