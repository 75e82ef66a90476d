#!/bin/bash
# program_check_all.sh: the check of every channel (F5) in the real program, in a test network.
# 40 channels: 32 live (among them a 302 to a live address and a playlist pointing at one) and one
# each of 404, HTTP 200 without ICY, a silent server, a refused connection, an unknown host, https,
# an empty playlist and a 302 without Location. The box names exactly the 8 that are not live with
# their reasons, the one that answers HTTP 200 without ICY under its own head, and Yes deletes
# exactly the other 7. Then: cancel halfway (no probe starts afterwards, nothing is deleted), and
# close during a check (with and without unsaved changes; the program then exits with 0).
E2E_NAME=h6ca
. "$(dirname "${BASH_SOURCE[0]}")/program_env.bash"

SILENT_PORT=8002
start_network 2
serve() {  # serve PORT NAME ANSWER [MODE]: one more stream server on the tool's loopback
    printf "$3" >"$WORK/$2-answer"
    start_stream "$1" "$WORK/$2-answer" "$WORK/$2-requests.log" ${4:-}
}
serve $SILENT_PORT silent 'ICY 200 OK\r\n\r\n' silent
serve 8004 notfound 'HTTP/1.0 404 Not Found\r\n\r\n'
serve 8005 moved 'HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:8000/moved\r\n\r\n'
serve 8006 playlist 'HTTP/1.0 200 OK\r\n\r\n[playlist]\r\nNumberOfEntries=1\r\nFile1=http://127.0.0.1:8000/fromlist\r\n'
serve 8007 plain 'HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\n\r\nID3 audio'
serve 8008 empty 'HTTP/1.0 200 OK\r\n\r\n[playlist]\r\nNumberOfEntries=0\r\n'
serve 8009 nolocation 'HTTP/1.0 302 Found\r\n\r\n'

# Channel n: a live address unless named here; title "Dead n" for the dead ones.
declare -A SPECIAL=(
    [3]="http://127.0.0.1:8004/notfound"
    [5]="http://127.0.0.1:8005/moved"
    [7]="http://127.0.0.1:8007/plain"
    [9]="http://127.0.0.1:8006/list.pls"
    [12]="http://127.0.0.1:$SILENT_PORT/silent"
    [18]="http://127.0.0.1:8001/refused"
    [22]="http://no-such-host.invalid/x"
    [27]="https://127.0.0.1:8000/secure"
    [33]="http://127.0.0.1:8008/empty.pls"
    [38]="http://127.0.0.1:8009/nolocation"
)
declare -A REASON=([3]="HTTP 오류 404" [7]="HTTP 200, ICY 아님" [12]="응답 없음" [18]="연결 거부"
    [22]="서버 이름을 찾을 수 없음" [27]="http 주소가 아님" [33]="빈 재생목록" [38]="Location 없는 리디렉션")
{
    printf 'OpCode=SETT\r\nDhcpMode=1\r\nPlsUrl1=%s/pls1\r\nPlsUrl2=%s/pls2\r\nNumberOfEntries=40\r\n' "$LIVE" "$LIVE"
    for n in $(seq 1 40); do
        title="Live $n"
        [ -n "${REASON[$n]:-}" ] && title="Dead $n"
        printf 'File%d=%s\r\nTitle%d=%s\r\n' "$n" "${SPECIAL[$n]:-$LIVE/live$n}" "$n" "$title"
    done
} >"$WORK/state.0"
: >"$WORK/expected-box.txt"
{
    printf '스트림이 없는 채널: 7개\n\n'
    for n in $(seq 1 40); do [ -n "${REASON[$n]:-}" ] && [ "$n" != 7 ] && printf '%d. Dead %d - %s\n' "$n" "$n" "${REASON[$n]}"; done
    printf '\n응답은 하지만 ICY가 아닌 채널: 1개\n\n7. Dead 7 - %s\n\n' "${REASON[7]}"
    printf '이 채널들은 라디오가 재생할 수도 있어 목록에 남겨 둡니다.\n\n'
    printf '스트림이 없는 채널들을 목록에서 삭제하시겠습니까?'
} >"$WORK/expected-box.txt"
start_device 0 --mac 00:1A:2B:3C:4D:61 --state "$WORK/state"
start_device 1 --mac 00:1A:2B:3C:4D:62 --delay 300 --channels 40 --url-pattern "http://127.0.0.1:$SILENT_PORT/s%n"
start_program

drive check <<'EOF2'
window 30000
press 100
expect-rows 101 2 8000
# The search ends about ten seconds after the press.
expect-enabled 100 1 15000
click-row 101 0
expect-rows 110 40
expect-cell 110 2 1 "Dead 3"
key 110 116
expect-enabled 110 0
expect-enabled 100 0
expect-enabled 101 0
expect-enabled 111 0
expect-enabled 117 0
expect-enabled 90 0
dump-box box.txt 20000
box-contains YES ""
expect-rows 110 33
expect-enabled 110 1
expect-enabled 100 1
expect-enabled 111 1
dump-rows 110 rows.txt
EOF2
check "the check of 40 channels" [ $? = 0 ]
tr -d '\r' <"$WORK/box.txt" >"$WORK/box-lf.txt"
check "the box names the channels that are not live in their two groups" diff "$WORK/expected-box.txt" "$WORK/box-lf.txt"
for n in $(seq 1 40); do
    if [ -z "${REASON[$n]:-}" ]; then echo "Live $n"; elif [ "$n" = 7 ]; then echo "Dead $n"; fi
done | awk '{ print NR ".\t" $0 }' >"$WORK/want-rows.txt"
cut -f1,2 "$WORK/rows.txt" >"$WORK/got-rows.txt"
check "Yes deleted exactly those with no stream and renumbered" diff "$WORK/want-rows.txt" "$WORK/got-rows.txt"
check "the 302 and the playlist led to live addresses" grep -q "GET /moved" "$WORK/stream-requests.log"
check "the playlist entry was asked for" grep -q "GET /fromlist" "$WORK/stream-requests.log"
check "the silent server was asked" \
    wait_for "GET /silent in silent-requests.log" 5 grep -q "GET /silent" "$WORK/silent-requests.log"
check "the 404 server was asked" grep -q "GET /notfound" "$WORK/notfound-requests.log"

# Cancel halfway: the other device's 40 channels all go to the silent server (5 s each).
: >"$WORK/silent-requests.log"
drive cancel <<'EOF2'
window 5000
click-row 101 1
expect-rows 110 40
expect-cell 110 0 2 http://127.0.0.1:8002/s1
press 2005
expect-enabled 110 0
wait-lines silent-requests.log "GET /s" 8 5000
press 2005
expect-enabled 110 1
expect-enabled 100 1
no-box 12000
expect-rows 110 40
EOF2
check "cancel halfway: nothing asked, nothing deleted" [ $? = 0 ]
probed=$(grep -c "^GET /s" "$WORK/silent-requests.log")
echo "probes started before the cancel: $probed"
check "cancel halfway: the 8 probes under way, none started afterwards" [ "$probed" = 8 ]

# Close during a check: first with unsaved changes (the question; Cancel keeps the window and the
# check has stopped), then without.
drive close <<EOF2
window 5000
settext 114 Extra
settext 115 $LIVE/extra
press 111
expect-rows 110 41
press 2005
expect-enabled 110 0
sleep 500
close
box CANCEL "변경된 내용이 있습니다. 종료하시겠습니까?"
expect-enabled 110 1
expect-rows 110 41
press 2005
expect-enabled 110 0
sleep 500
close
box OK "변경된 내용이 있습니다. 종료하시겠습니까?"
expect-gone 3000
EOF2
check "close during a check cancels it, then closes as before" [ $? = 0 ]
wait_file "$WORK/program.rc" 10
check "the program closed during a check exits with 0" [ "$(cat "$WORK/program.rc" 2>/dev/null)" = 0 ]
finish
