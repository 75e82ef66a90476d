#!/bin/bash
# cli_native.sh: setradio-cli (Linux build) in a private network against simulated radios and stream
# servers on the tool's loopback: find (text and JSON), get then set to another radio, a set refused by
# a dead Pls address, a set that is never confirmed, and check of live, dead and redirecting servers.
# A second segment (10.78.0.0/24, no default route) holds one more radio: find and set reach it too.
. "$(dirname "${BASH_SOURCE[0]}")/lib/link_env.sh" c

TOOL="$SR_BUILD/native/setradio-cli"
for f in "$TOOL" "$STREAM"; do [ -x "$f" ] || { echo "missing $f"; exit 1; }; done
"$TESTNET" up "$NET" 3 1 || exit 1
MAC9=00:1A:2B:3C:4E:00
MAC0=00:1A:2B:3C:4D:00
MAC1=00:1A:2B:3C:4D:01
MAC2=00:1A:2B:3C:4D:02
LIVE=http://127.0.0.1:8000
cli() { "$TESTNET" exec-tool "$NET" env LANG=C.UTF-8 "$TOOL" "$@"; }

# Stream servers inside the tool's namespace: live (ICY), a 302 to it, a playlist pointing at it,
# a 404; nothing listens on 8001 (refused).
serve 8000 'ICY 200 OK\r\nicy-name: e2e\r\n\r\n'
serve 8002 'HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:8000/live\r\n\r\n'
serve 8003 'HTTP/1.0 200 OK\r\nContent-Type: audio/x-scpls\r\n\r\n[playlist]\r\nFile1=http://127.0.0.1:8000/live\r\n'
serve 8004 'HTTP/1.0 404 Not Found\r\n\r\n'

TITLE=$(printf '채널 %%n' | iconv -f UTF-8 -t CP949)
start_sim --devices 3 --address 10.77.0.11 --channels 4 --state "$WORK/state" --pls1 "$LIVE/pls1" --pls2 "$LIVE/pls2" \
    --url-pattern "$LIVE/ch%n" --title-pattern "$TITLE" --malformed nosetc --malformed-device 2

"$TESTNET" exec-dev2 "$NET" "$SIM" --address 10.78.0.11 --mac $MAC9 --channels 2 --state "$WORK/seg2" \
    --pls1 "$LIVE/pls1" --pls2 "$LIVE/pls2" --log "$WORK/seg2.log" --ready "$WORK/seg2.ready" &
wait_for "the second segment's simulator ($WORK/seg2.ready)" 10 test -f "$WORK/seg2.ready" || exit 1

# find: three radios here and one on the second segment, one line each, then the same as JSON.
cli find --wait 1.5 >"$WORK/find.txt"; rc=$?
cat "$WORK/find.txt"
check "find exits 0" [ $rc = 0 ]
check "find lists four radios" [ "$(wc -l <"$WORK/find.txt")" = 4 ]
check "find lists the radio of the second segment once" \
    [ "$(grep -Ec "^$MAC9 +VM-2\.14\.3 +10\.78\.0\.11:49006 " "$WORK/find.txt")" = 1 ]
check "the second segment heard one FIND, at its broadcast address" \
    [ "$("$SIM" --dump "$WORK/seg2.log" | grep -c 'from=10.78.0.1:49005 to=10.78.0.255:49006 len=12 ')" = 1 ]
for i in 0 1 2; do
    check "find line for radio $i: MAC, firmware, sender, mode, address, channels" \
        grep -Eq "^00:1A:2B:3C:4D:0$i +VM-2\.14\.3 +10\.77\.0\.1$((1 + i)):49006 +[a-zA-Z-]+ +[0-9.]+ +4\$" "$WORK/find.txt"
done
check "FIND went out once, to 255.255.255.255:49006 from port 49005" \
    [ "$("$SIM" --dump "$WORK/sim.log" | grep -c 'from=10.77.0.1:49005 to=255.255.255.255:49006 len=12 ')" = 1 ]
cli find --wait 1.5 --json >"$WORK/find.json"
check "find --json: three objects with the stable fields" python3 -c '
import json, sys
rows = [json.loads(l) for l in open(sys.argv[1]) if "4E:00" not in l]
assert len(rows) == 3, rows
for r in rows:
    assert set(r) == {"mac", "firmware", "from", "port", "mode", "address", "channels"}, r
    assert r["channels"] == 4 and r["firmware"] == "VM-2.14.3" and r["port"] == 49006, r
assert sorted(r["mac"] for r in rows) == ["00:1A:2B:3C:4D:0%d" % i for i in range(3)]
' "$WORK/find.json"

# get radio 0 (MAC typed another way), then set that file to radio 1.
cli get 001a2b3c4d00 -o "$WORK/radio0.txt"; rc=$?
check "get exits 0 and writes the file" bash -c '[ "$1" = 0 ] && [ -s "$2" ]' _ "$rc" "$WORK/radio0.txt"
check "the file is a SETT with radio 0's own MacAddr text, CR LF lines" \
    bash -c "head -c 30 '$WORK/radio0.txt' | grep -q \$'^OpCode=SETT\r\$' && grep -q \$'^MacAddr=$MAC0\r\$' '$WORK/radio0.txt' && [ \$(grep -vc \$'\r\$' '$WORK/radio0.txt') = 0 ]"
check "channel titles stay code page 949 bytes in the file" grep -q "^Title4=$(printf '채널 4' | iconv -t CP949)"$'\r$' "$WORK/radio0.txt"
cli get $MAC0 >"$WORK/radio0.stdout"
check "get without -o writes the same bytes to stdout" cmp -s "$WORK/radio0.txt" "$WORK/radio0.stdout"
cli set 00-1a-2b-3c-4d-01 "$WORK/radio0.txt" --wait 2 >"$WORK/set1.out" 2>&1; rc=$?
cat "$WORK/set1.out"
check "set to radio 1 confirmed (exit 0, saved)" bash -c '[ "$1" = 0 ] && grep -q "$2: 저장되었습니다" "$3"' _ "$rc" "$MAC1" "$WORK/set1.out"
sed "s/^MacAddr=$MAC0\r\$/MacAddr=$MAC1\r/" "$WORK/radio0.txt" >"$WORK/radio1.expected"
check "radio 1 stored radio 0's settings with its own MAC, byte for byte" cmp -s "$WORK/radio1.expected" "$WORK/state.1"
check "both Pls addresses were probed before the send" [ "$(grep -c '^GET /pls[12] ' "$WORK/requests.8000")" = 2 ]
cli get $MAC1 -o "$WORK/radio1.txt"
check "get of radio 1 now gives the same file as radio 0's but for the MAC" cmp -s "$WORK/radio1.expected" "$WORK/radio1.txt"

cli set ${MAC9//:/} "$WORK/radio0.txt" --wait 2 >/dev/null 2>&1; rc=$?
sed "s/^MacAddr=$MAC0\r\$/MacAddr=$MAC9\r/" "$WORK/radio0.txt" >"$WORK/radio9.expected"
check "set to the radio of the second segment confirmed and stored byte for byte" \
    bash -c '[ "$1" = 0 ] && cmp -s "$2" "$3"' _ "$rc" "$WORK/radio9.expected" "$WORK/seg2.0"

# A settings file re-saved as UTF-8 (as Notepad does) goes out as code page 949, like the window's open.
{ printf '\xEF\xBB\xBF'; iconv -f CP949 -t UTF-8 "$WORK/radio0.txt"; } >"$WORK/radio0.utf8.txt"
cli set $MAC1 "$WORK/radio0.utf8.txt" --wait 2 >/dev/null 2>&1; rc=$?
check "a UTF-8 settings file is stored as the same 949 bytes" \
    bash -c '[ "$1" = 0 ] && cmp -s "$2" "$3"' _ "$rc" "$WORK/radio1.expected" "$WORK/state.1"

# A dead Pls address: refused with exit 1, nothing at all goes out.
sed 's|^PlsUrl2=.*\r$|PlsUrl2=http://127.0.0.1:8001/dead\r|' "$WORK/radio0.txt" >"$WORK/deadpls.txt"
before=$(logged_count)
probes=$(grep -c '^GET /pls1 ' "$WORK/requests.8000")
cli set $MAC1 "$WORK/deadpls.txt" --wait 1 >"$WORK/deadpls.out" 2>&1; rc=$?
cat "$WORK/deadpls.out"
check "set with a dead Pls address exits 1" [ $rc = 1 ]
check "the refusal names the dead address" grep -q 'http://127.0.0.1:8001/dead' "$WORK/deadpls.out"
check "the Pls check ran (the live Pls address was asked)" [ "$(grep -c '^GET /pls1 ' "$WORK/requests.8000")" -gt "$probes" ]
after=$(logged_count)
check "nothing was sent to the radios (no FIND, no SETT; the log holds the earlier ones)" \
    [ "$before" -gt 0 -a "$after" = "$before" ]
check "radio 1 keeps what it stored" cmp -s "$WORK/radio1.expected" "$WORK/state.1"
cli set $MAC1 "$WORK/deadpls.txt" --no-check --wait 2 >/dev/null 2>&1; rc=$?
check "--no-check sends it all the same" \
    bash -c '[ "$1" = 0 ] && grep -q "PlsUrl2=http://127.0.0.1:8001/dead" "$2"' _ "$rc" "$WORK/state.1"

# A radio that stores the SETT but never confirms: exit 3 once the wait is over.
start=$(date +%s%N)
cli set $MAC2 "$WORK/radio0.txt" --wait 2 >"$WORK/noconfirm.out" 2>&1; rc=$?
elapsed=$((($(date +%s%N) - start) / 1000000))
cat "$WORK/noconfirm.out"
check "set without a confirmation exits 3 after the 2 s wait ($elapsed ms)" [ $rc = 3 -a $elapsed -ge 2000 -a $elapsed -lt 6000 ]
# Radio 2 stores without answering: its state file is waited for.
check "the SETT did reach radio 2" wait_for "radio 2's state file with its MAC" 5 grep -q "^MacAddr=$MAC2"$'\r$' "$WORK/state.2"
before=$(logged_count)
# The radios answer these FINDs, but the program gives up on them: the log is waited for.
cli set 00:1A:2B:3C:4D:09 "$WORK/radio0.txt" --wait 1 >/dev/null 2>&1; rc=$?
wait_for "the FIND in the simulator's log" 5 logged_at_least $((before + 1))
after=$(logged_count)
check "set to a MAC no radio has exits 3 after its FIND, with no SETT" [ $rc = 3 -a "$after" = $((before + 1)) ]
cli get 1A:2B:3C:4D:00 --wait 1 >/dev/null 2>&1; rc=$?
wait_for "the second FIND in the simulator's log" 5 logged_at_least $((before + 2))
after=$(logged_count)
check "a MAC is text: without its leading zeros it names no radio (exit 3)" [ $rc = 3 -a "$after" = $((before + 2)) ]

# Bad input: a file that is not a settings file, one that is too long, a missing one.
echo 'hello' >"$WORK/notsettings.txt"
cli set $MAC1 "$WORK/notsettings.txt" >/dev/null 2>&1; check "a file that is not a settings file: exit 4" [ $? = 4 ]
head -c 70000 /dev/zero | tr '\0' 'a' | sed '1s/^/NumberOfEntries=1\n/' >"$WORK/long.txt"
cli set $MAC1 "$WORK/long.txt" >/dev/null 2>&1; check "a file that is too long: exit 4" [ $? = 4 ]
cli set $MAC1 "$WORK/missing.txt" >/dev/null 2>&1; check "a missing file: exit 4" [ $? = 4 ]
cli get $MAC0 -o "$WORK/no/such/folder/x.txt" >/dev/null 2>&1; check "a file that cannot be written: exit 4" [ $? = 4 ]
cli find --wiat 1 >/dev/null 2>"$WORK/usage.err"; rc=$?
check "an unknown option: exit 2 with one line naming it" \
    bash -c '[ "$1" = 2 ] && [ "$(wc -l <"$2")" = 1 ] && grep -q -- --wiat "$2"' _ "$rc" "$WORK/usage.err"

# check: live, redirect, playlist, refused and 404, with the hops.
cli check --trace "$LIVE/live" http://127.0.0.1:8002/moved http://127.0.0.1:8003/radio.pls \
    http://127.0.0.1:8001/dead http://127.0.0.1:8004/gone >"$WORK/check.txt"; rc=$?
cat "$WORK/check.txt"
check "check with dead addresses exits 1" [ $rc = 1 ]
check "three live, two not live" \
    [ "$(grep -c '^방송 중  ' "$WORK/check.txt")" = 3 -a "$(grep -c '^방송 중 아님  ' "$WORK/check.txt")" = 2 ]
check "the reasons: refused, and HTTP error 404" bash -c 'grep -q "^방송 중 아님  http://127.0.0.1:8001/dead  연결 거부\$" "$1" &&
    grep -q "^방송 중 아님  http://127.0.0.1:8004/gone  HTTP 오류 404\$" "$1"' _ "$WORK/check.txt"
check "the redirect reached the live server" [ "$(grep -c '^GET /live ' "$WORK/requests.8000")" -ge 3 ]
check "trace of the redirect: 302 with its Location, then ICY 200 OK" \
    bash -c "grep -A2 '^방송 중  http://127.0.0.1:8002/moved' '$WORK/check.txt' | grep -q '^    -> 127.0.0.1:8002  연결 [0-9]* ms  HTTP/1.0 302 Found  Location: http://127.0.0.1:8000/live\$' &&
             grep -A2 '^방송 중  http://127.0.0.1:8002/moved' '$WORK/check.txt' | grep -q '^    -> 127.0.0.1:8000  연결 [0-9]* ms  ICY 200 OK\$'"
check "trace of the playlist: 200 with its entry" \
    grep -q '^    -> 127.0.0.1:8003  연결 [0-9]* ms  HTTP/1.0 200 OK  File1=http://127.0.0.1:8000/live$' "$WORK/check.txt"
check "trace of the refused address: the failed connect" grep -q '^    -> 127.0.0.1:8001  연결 실패 [0-9]* ms$' "$WORK/check.txt"
cli check --json http://127.0.0.1:8001/dead http://127.0.0.1:8004/gone https://127.0.0.1:8000/live >"$WORK/reasons.json"
check "check --json: stable reason words, the status code beside an HTTP error" python3 -c '
import json, sys
rows = [json.loads(l) for l in open(sys.argv[1])]
assert [r["reason"] for r in rows] == ["refused", "http_error", "not_http"], rows
assert rows[1]["http_code"] == 404 and not any(r["live"] for r in rows), rows
' "$WORK/reasons.json"
cli check --trace --json http://127.0.0.1:8002/moved >"$WORK/check.json"
check "check --trace --json: the hops with their fields" python3 -c '
import json, sys
row = json.loads(open(sys.argv[1]).read())
hops = row["hops"]
assert row["live"] and len(hops) == 2, row
assert hops[0]["port"] == 8002 and hops[0]["status"] == "HTTP/1.0 302 Found" and hops[0]["location"] == "http://127.0.0.1:8000/live", hops
assert hops[1]["port"] == 8000 and hops[1]["connected"] and hops[1]["status"] == "ICY 200 OK", hops
' "$WORK/check.json"
cli check "$LIVE/live" http://127.0.0.1:8002/moved >/dev/null; check "check with every address live exits 0" [ $? = 0 ]
cli check --json --file "$WORK/radio0.txt" >"$WORK/checkfile.json"; rc=$?
check "check --file: the four channels of a settings file, in order, with titles" python3 -c '
import json, sys
rows = [json.loads(l) for l in open(sys.argv[1])]
assert [r["channel"] for r in rows] == [1, 2, 3, 4], rows
assert [r["title"] for r in rows] == ["채널 %d" % n for n in range(1, 5)], rows
assert all(r["live"] and r["reason"] == "" for r in rows), rows
' "$WORK/checkfile.json"

# check --file of a playlist in UTF-8: Korean titles, an https entry (left out of the import: reported
# unprobed as not live).
printf '[playlist]\r\nNumberOfEntries=3\r\nFile1=http://127.0.0.1:8000/live\r\nTitle1=라디오 하나\r\nFile2=https://127.0.0.1:8000/secure\r\nTitle2=보안\r\nFile3=http://127.0.0.1:8004/gone\r\nTitle3=없는 방송\r\n' >"$WORK/list.pls"
cli check --file "$WORK/list.pls" >"$WORK/list.out" 2>"$WORK/list.err"; rc=$?
cat "$WORK/list.out" "$WORK/list.err"
check "check --file of a playlist: three entries, titles converted, exit 1" bash -c "[ $rc = 1 ] && [ \$(wc -l <'$WORK/list.out') = 3 ] &&
    grep -q '^1\. 방송 중  http://127.0.0.1:8000/live  \[라디오 하나\]\$' '$WORK/list.out' &&
    grep -q '^2\. 방송 중 아님  https://127.0.0.1:8000/secure  \[보안\]  http 주소가 아님\$' '$WORK/list.out' &&
    grep -q '^3\. 방송 중 아님  http://127.0.0.1:8004/gone  \[없는 방송\]' '$WORK/list.out'"
check "the https entry is counted as left out" grep -q ': 1$' "$WORK/list.err"

# Entries left out for their address count as not live; a file with no address is refused; a title's
# control characters are shown as escapes; a settings file whose title holds a key is damaged.
printf '#EXTM3U\n#EXTINF:-1,\033[31mred\nhttps://s/\n#EXTINF:-1,x File2=http://evil/\nhttp://s/k\nhttp://%0130d\n' 0 >"$WORK/out.m3u"
cli check --json --file "$WORK/out.m3u" >"$WORK/out.json" 2>/dev/null; rc=$?
check "check --file of entries all left out exits 1, each with its reason" bash -c "[ $rc = 1 ] &&
    [ \"\$(python3 -c 'import json,sys; print(*[r[\"reason\"] for r in map(json.loads, open(sys.argv[1]))])' '$WORK/out.json')\" = 'not_http holds_key too_long' ]"
cli check --file "$WORK/out.m3u" >"$WORK/out.txt" 2>/dev/null
check "a title's ESC is shown as \\x1b, never sent to the terminal" bash -c "grep -qF '[\\x1b[31mred]' '$WORK/out.txt' && ! grep -q \$'\\033' '$WORK/out.txt'"
printf '#EXTM3U\n' >"$WORK/empty.m3u"
cli check --file "$WORK/empty.m3u" >/dev/null 2>"$WORK/empty.err"; rc=$?
check "a playlist with no address: exit 4 with one line" bash -c "[ $rc = 4 ] && [ \$(wc -l <'$WORK/empty.err') = 1 ]"
printf 'DhcpMode=1\r\nNumberOfEntries=2\r\nFile1=http://s/1\r\nTitle1=x File2=http://evil/\r\nFile2=http://s/2\r\n' >"$WORK/held.txt"
cli set --no-check $MAC1 "$WORK/held.txt" >/dev/null 2>&1; rc=$?
cli check --file "$WORK/held.txt" >/dev/null 2>&1; rc2=$?
check "set and check --file refuse a settings file whose title holds a key (exit 4)" bash -c "[ $rc = 4 ] && [ $rc2 = 4 ]"

echo "cli_native: $FAILS failed"
[ "$FAILS" = 0 ]
