#!/bin/bash
# program_directory.sh: the station search dialog (방송국 찾기, 다른 주소 찾기) in the real program,
# against the fake directory in the test network, the address taken from SetRadio.ini.
# 1. The fake answers every station whatever the filters: of 103, the https-only, HLS and over-long
#    ones are not offered; 100 are listed and checked (80 live, 20 silent) while the window keeps
#    answering; three selected are added with their 949 titles, each clicked once with the User-Agent.
# 2. 다른 주소 찾기 searches a dead channel's title and 바꾸기 replaces only its address.
# 3. An invalid answer and an unreachable directory each give the status line's error, change nothing.
E2E_NAME=h6dir
. "$(dirname "${BASH_SOURCE[0]}")/program_env.bash"

FAKE="$NATIVE/fake_directory"
[ -x "$FAKE" ] || { echo "e2e: $FAKE is missing (build first)"; exit 1; }
SILENT_PORT=8002
start_network 1
printf 'ICY 200 OK\r\n\r\n' >"$WORK/silent-answer"
start_stream $SILENT_PORT "$WORK/silent-answer" "$WORK/silent-requests.log" silent

# 100 stations the radio can take, most votes first: every fifth silent, the others live; then
# the three it cannot. Station 1's name needs the 949 conversion (é and the emoji become '?').
python3 - "$WORK/fixture.json" "$LIVE" "http://127.0.0.1:$SILENT_PORT" <<'EOF'
import json, sys
out, live, silent = sys.argv[1:4]
rows = []
for n in range(1, 101):
    url = f"{silent}/s{n}" if n % 5 == 0 else f"{live}/live{n}"
    name = "재즈 é 🎷" if n == 1 else ("Jazz Classics" if n == 2 else f"Station {n:03d}")
    rows.append({"stationuuid": f"uuid-{n:03d}", "name": name, "url": url, "url_resolved": url, "countrycode": "KR",
                 "tags": "jazz", "codec": "MP3", "bitrate": 128, "votes": 1000 - n, "hls": 0, "lastcheckok": 1})
rows.append({"stationuuid": "uuid-https", "name": "Secure", "url": "https://127.0.0.1/x", "url_resolved": "https://127.0.0.1/x",
             "votes": 5, "hls": 0, "lastcheckok": 1})
rows.append({"stationuuid": "uuid-hls", "name": "Segments", "url": f"{live}/e.m3u8", "url_resolved": f"{live}/e.m3u8",
             "votes": 4, "hls": 1, "lastcheckok": 1})
rows.append({"stationuuid": "uuid-long", "name": "Long", "url": f"{live}/" + "l" * 120, "url_resolved": "",
             "votes": 3, "hls": 0, "lastcheckok": 1})
with open(out, "w", encoding="utf-8") as f:
    f.write("[\n" + ",\n".join(json.dumps(r, ensure_ascii=False) for r in rows) + "\n]\n")
EOF
FAKE_PID=""
# start_fake MODE: the fake directory on the tool's loopback, port 8090, a fresh log. Started without
# a shell function between, so that $! is the server itself.
start_fake() {
    [ -n "$FAKE_PID" ] && kill "$FAKE_PID" 2>/dev/null && wait "$FAKE_PID" 2>/dev/null
    : >"$WORK/fake.log"
    spawn ip netns exec "$NET-tool" "$FAKE" 127.0.0.1 8090 "$WORK/fixture.json" "$WORK/fake.log" "$1" >"$WORK/fake-$1.out"
    FAKE_PID=$!
    wait_for "the fake directory ($1) to print ready" 10 grep -q '^ready' "$WORK/fake-$1.out" || exit 1
}
start_fake all
printf '[Directory]\r\nUrl=http://127.0.0.1:8090\r\n' >"$WORK/SetRadio.ini"

printf 'OpCode=SETT\r\nDhcpMode=1\r\nNumberOfEntries=2\r\nFile1=%s/old\r\nTitle1=Old\r\nFile2=%s/gone\r\nTitle2=Jazz Classics\r\n' \
    "$LIVE" "$DEAD" >"$WORK/state.0"
start_device 0 --mac 00:1A:2B:3C:4D:71 --state "$WORK/state"
start_program

drive add <<'EOF2'
window 30000
press 100
expect-rows 101 1 8000
click-row 101 0
expect-rows 110 2
press 2006
dialog "방송국 찾기"
ping-start
mark search
press 3004
expect-rows 3005 100 15000
mark listed
expect-text 3007 "방송국 100개를 찾았습니다 (재생할 수 없어 뺀 방송국 3개)"
wait-cells 3005 5 "확인 중" 60000 checked.txt
ping-stop ping.txt
expect-cell 3005 0 0 "재즈 é 🎷"
expect-cell 3005 0 5 "방송중"
expect-cell 3005 4 5 "응답 없음"
dump-rows 3005 found.txt
select-rows 3005 0 2 4
press 3006
dump-box question.txt
box-contains YES ""
box-contains OK "채널 3개를 추가했습니다"
press 2
expect-closed
expect-rows 110 5
dump-rows 110 rows.txt
EOF2
check "search, check and add in the dialog" [ $? = 0 ]
printf '스트림이 없는 채널: 1개\n\nStation 005 - 응답 없음\n\n이 방송국들도 추가하시겠습니까?' >"$WORK/want-question.txt"
check "the question named the silent station first" diff "$WORK/want-question.txt" <(tr -d "\r" <"$WORK/question.txt")
check "the https-only, HLS and over-long stations were not offered" \
    holds '[ "$(wc -l <"$WORK/found.txt")" = 100 ] && ! grep -Eq "Secure|Segments|Long|https:|m3u8" "$WORK/found.txt"'
printf '1.\tOld\t%s/old\n2.\tJazz Classics\t%s/gone\n3.\t재즈 ? ?\t%s/live1\n4.\tStation 003\t%s/live3\n5.\tStation 005\t%s\n' \
    "$LIVE" "$DEAD" "$LIVE" "$LIVE" "http://127.0.0.1:$SILENT_PORT/s5" >"$WORK/want-rows.txt"
check "the three selected were appended with their 949 titles and addresses" diff "$WORK/want-rows.txt" "$WORK/rows.txt"
clicks() { grep -c '^GET /json/url/' "$WORK/fake.log"; }
check "one click per added station" wait_for "three clicks in fake.log" 10 test "$(clicks)" = 3
for uuid in uuid-001 uuid-003 uuid-005; do
    check "the click of $uuid carries the User-Agent" grep -Eq "^GET /json/url/$uuid UA=SetRadio/[0-9.]+$" "$WORK/fake.log"
done
check "the search carried the User-Agent and the fixed filters" grep -Eq \
    '^GET /json/stations/search\?hidebroken=true&is_https=false&order=votes&reverse=true&limit=100 UA=SetRadio/[0-9.]+$' "$WORK/fake.log"
listed=$(awk '/^mark search/ {s = $3} /^mark listed/ {print $3 - s}' "$WORK/add.out")
longest=$(awk '/^longest_unresponsive_ms/ {print $2}' "$WORK/ping.txt")
echo "figures: search to 100 results listed ${listed} ms; every 상태 cell filled $(cat "$WORK/checked.txt") ms after;" \
    "longest time the window did not answer ${longest} ms"
check "the window answered within 250 ms while 100 results were checked" [ "${longest:-999999}" -le 250 ]

# 다른 주소 찾기 for the dead channel 2: its title is searched; 바꾸기 replaces only its address.
start_fake filter
drive replace <<'EOF2'
window 5000
click-row 110 1
press 2007
dialog "방송국 찾기"
expect-text 3001 "Jazz Classics"
expect-text 3006 "바꾸기"
expect-rows 3005 1 15000
wait-cells 3005 5 "확인 중" 15000
expect-enabled 3006 0
select-rows 3005 0
expect-enabled 3006 1
press 3006
expect-closed
expect-cell 110 1 1 "Jazz Classics"
expect-cell 110 1 2 "http://127.0.0.1:8000/live2"
expect-rows 110 5
EOF2
check "다른 주소 찾기 replaced the dead channel's address and kept its title" [ $? = 0 ]
check "the replacing station was clicked once" \
    wait_for "the click of uuid-002" 10 grep -Eq '^GET /json/url/uuid-002 UA=SetRadio/' "$WORK/fake.log"
check "the search asked for the channel's title" grep -q '^GET /json/stations/search?name=Jazz%20Classics&' "$WORK/fake.log"

# An invalid answer, then no directory at all: the status line says so, nothing changes.
start_fake invalid
# Between the two searches the driver waits while the fake directory is stopped.
(wait_for "the driver's sign invalid.done" 60 test -e "$WORK/invalid.done" && kill "$FAKE_PID" &&
    wait_for "the fake directory to end" 10 bash -c "! kill -0 $FAKE_PID 2>/dev/null" &&
    echo stopped >"$WORK/fake.stopped~" && mv "$WORK/fake.stopped~" "$WORK/fake.stopped") &
drive errors <<'EOF2'
window 5000
dump-rows 110 before.txt
press 2006
dialog "방송국 찾기"
press 3004
expect-text 3007 "방송국 목록 서버의 응답이 잘못되었습니다" 15000
expect-rows 3005 0
touch invalid.done
wait-lines fake.stopped stopped 1 10000
press 3004
expect-text 3007 "방송국 목록 서버에 연결할 수 없습니다" 15000
expect-rows 3005 0
press 3006
no-box 500
press 2
expect-closed
dump-rows 110 after.txt
EOF2
rc=$?
check "an invalid answer and an unreachable directory were named on the status line" [ $rc = 0 ]
check "and the channel list did not change" holds 'need "$WORK/before.txt" && diff "$WORK/before.txt" "$WORK/after.txt"'
finish
