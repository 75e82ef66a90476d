#!/bin/sh
# check_imports.sh PROGRAM.exe: the program imports only KERNEL32, USER32, GDI32, COMCTL32, WS2_32,
# ADVAPI32, COMDLG32, SHELL32, UXTHEME, and WINHTTP or WININET (not both); no C run-time; and it
# stays under 96 KB. Libraries the program loads when first needed (their names are lower-case UTF-16 texts in
# it) are held to the same list.
exe=${1:?usage: check_imports.sh PROGRAM.exe}
OBJDUMP=${OBJDUMP:-x86_64-w64-mingw32-objdump}
[ -f "$exe" ] || { echo "check_imports: $exe missing"; exit 1; }
dlls=$("$OBJDUMP" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
[ -n "$dlls" ] || { echo "check_imports: no import table read from $exe"; exit 1; }
echo "imports:" $dlls
loaded=$(strings -el "$exe" | grep -o '[a-z0-9_]*\.dll$' | tr 'a-z' 'A-Z' | sort -u)
echo "loaded when needed:" $loaded
bad=0
http=""
# A loaded name is read from the end: the character before a text may belong to other data.
for d in $loaded; do
    case "$d" in
        *KERNEL32.DLL|*USER32.DLL|*GDI32.DLL|*COMCTL32.DLL|*WS2_32.DLL|*ADVAPI32.DLL|*COMDLG32.DLL|*SHELL32.DLL|*UXTHEME.DLL) ;;
        *WINHTTP.DLL) http="$http WINHTTP.DLL" ;;
        *WININET.DLL) http="$http WININET.DLL" ;;
        *) echo "check_imports: unexpected library loaded when needed $d"; bad=1 ;;
    esac
done
for d in $dlls; do
    case "$d" in
        KERNEL32.DLL|USER32.DLL|GDI32.DLL|COMCTL32.DLL|WS2_32.DLL|ADVAPI32.DLL|COMDLG32.DLL|SHELL32.DLL|UXTHEME.DLL) ;;
        WINHTTP.DLL|WININET.DLL) http="$http $d" ;;
        *) echo "check_imports: unexpected import $d"; bad=1 ;;
    esac
done
if [ "$(printf '%s\n' $http | sort -u | wc -w)" -gt 1 ]; then echo "check_imports: both WINHTTP and WININET imported"; bad=1; fi
size=$(wc -c <"$exe")
echo "size: $size bytes"
if [ "$size" -ge 98304 ]; then echo "check_imports: not under 96 KB"; bad=1; fi
[ $bad = 0 ] && echo "check_imports: ok"
exit $bad
