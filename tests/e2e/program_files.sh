#!/bin/bash
# program_files.sh: settings files and playlists in the real program, in a test network.
# One radio's settings are saved to a file and opened on another radio, whose device then stores
# exactly the file's settings (with its own MacAddr); the hand-written Korean playlist is imported
# into a radio's list and sent; "SetRadio.exe FILE" shows the file once a radio is clicked, and
# "SetRadio.exe ignored words" behaves as before. Also measures an import of 300 entries.
E2E_NAME=i11fl
. "$(dirname "${BASH_SOURCE[0]}")/program_env.bash"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
BACKUP="$WORK/backup.txt"
PLAYLIST="$E2E_ROOT/tests/files/korean_stations.m3u8"

start_network 2
start_device 0 --mac 00:1A:2B:3C:4D:31 --channels 3 --title-pattern "Source %n" --dhcp 0 --local-ip 10.77.0.31 --state "$WORK/state-a"
start_device 1 --mac 00:1A:2B:3C:4D:32 --channels 2 --title-pattern "Target %n" --dhcp 1 --delay 200 --state "$WORK/state-b"
start_program

drive copy <<EOF
window 30000
press 100
expect-rows 101 2 8000
# Back up the first radio, then open the backup on the second one and send it.
click-row 101 0
expect-cell 110 2 1 "Source 3"
press 2002
file-dialog $(winpath "$BACKUP")
no-box 500
click-row 101 1
expect-cell 110 1 1 "Target 2"
press 2001
file-dialog $(winpath "$BACKUP")
expect-checked 90 1
expect-text 104 10.77.0.31
expect-rows 110 3
expect-cell 110 2 1 "Source 3"
dump-sett sett-open.txt
press 117
box OK "변경내용을 적용합니다"
box OK "저장되었습니다" 10000
# Import the playlist into the first radio's list and send it.
click-row 101 0
expect-rows 110 3
press 2003
file-dialog $(winpath "$PLAYLIST")
box-contains OK "채널 4개를 추가했습니다. 건너뛴 주소: 3개"
expect-rows 110 7
expect-cell 110 3 1 "KBS 클래식 FM"
expect-cell 110 6 0 "7."
dump-sett sett-import.txt
press 117
box OK "변경내용을 적용합니다"
box OK "저장되었습니다" 10000
close
expect-gone 10000
EOF
check "the copy and import session" [ $? = 0 ]
check "the backup holds the first radio's SETT" grep -q $'^MacAddr=00:1A:2B:3C:4D:31\r$' "$BACKUP"
check "the second radio stored exactly the form's SETT" cmp "$WORK/state-b.0" "$WORK/sett-open.txt"
check "which is the backup with the second radio's MacAddr" \
    cmp <(sed 's/^MacAddr=.*/MacAddr=00:1A:2B:3C:4D:32\r/' "$BACKUP") "$WORK/state-b.0"
check "the first radio stored exactly the imported list" cmp "$WORK/state-a.0" "$WORK/sett-import.txt"
check "the Korean titles went out in code page 949" \
    grep -q "$(printf 'Title4=%s' "$(printf 'KBS 클래식 FM' | iconv -f UTF-8 -t CP949)")" "$WORK/state-a.0"
check "the https, long and duplicate addresses were not sent" \
    [ "$(grep -c -e 'https://' -e 'long.example' "$WORK/state-a.0")" = 0 -a "$(grep -c 'kbs1fm' "$WORK/state-a.0")" = 1 ]

# A settings file named on the command line waits for the first radio loaded. Written as Notepad
# writes UTF-8: a byte-order mark and Korean in UTF-8.
printf '\xEF\xBB\xBFOpCode=SETT\r\nDhcpMode=0\r\nLocalIP=10.77.0.99\r\nNumberOfEntries=1\r\nFile1=http://file.example/1\r\nTitle1=파일 방송\r\n' \
    >"$WORK/from-notepad.txt"
start_program "$(winpath "$WORK/from-notepad.txt")" ignored-word
drive argument <<EOF
window 30000
no-box 1000
press 100
expect-rows 101 2 8000
click-row 101 1
expect-text 104 10.77.0.99
expect-rows 110 1
expect-cell 110 0 1 "파일 방송"
close
box OK "변경된 내용이 있습니다. 종료하시겠습니까?"
expect-gone 10000
EOF
check "SetRadio.exe FILE loads the file after the first row click" [ $? = 0 ]

start_program ignored words
drive words <<EOF
window 30000
no-box 1000
press 100
expect-rows 101 2 8000
# The second radio shows what it stored from the backup, and nothing asks at the close.
click-row 101 1
expect-checked 90 1
expect-text 104 10.77.0.31
expect-cell 110 2 1 "Source 3"
close
no-box 1000
expect-gone 10000
EOF
check "SetRadio.exe with words naming no file behaves as before" [ $? = 0 ]

# The figure: 300 playlist entries, from the dialog's OK to the rows drawn (the report opens after).
{
    echo "#EXTM3U"
    for i in $(seq 1 300); do printf '#EXTINF:-1,방송 %d\nhttp://bench.example.kr:8000/station/%d\n' "$i" "$i"; done
} >"$WORK/bench300.m3u"
start_program
drive bench <<EOF
window 30000
press 100
expect-rows 101 2 8000
click-row 101 1
bench-import 2003 $(winpath "$WORK/bench300.m3u") import-bench.txt
close
box OK "변경된 내용이 있습니다. 종료하시겠습니까?"
expect-gone 10000
EOF
check "the 300-entry import" grep -q '^rows_added 300$' "$WORK/import-bench.txt"
cat "$WORK/import-bench.txt"
finish
