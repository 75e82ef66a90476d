#!/bin/bash
# program_send.sh: the real program sends settings to a simulated device in a test network.
# The send checks both Pls addresses against the stream server, asks, and broadcasts a SETT in
# slices; the device stores exactly the SETT that the form shows and answers SETC, which the window
# shows as "저장되었습니다"; the row then keeps the sent text, and Cancel at the question sends nothing.
E2E_NAME=h6sd
. "$(dirname "${BASH_SOURCE[0]}")/program_env.bash"

start_network 2
start_device 0 --mac 00:1A:2B:3C:4D:21 --channels 40 --title-pattern "Ch %n" --dhcp 0 --state "$WORK/state-a"
start_device 1 --mac 00:1A:2B:3C:4D:22 --channels 2 --title-pattern "Other %n" --delay 200 --state "$WORK/state-b"
start_program

NOT_LIVE="방송중이 아니거나 정확한 방송주소가 아닙니다. 계속 하시겠습니까?"
drive send <<EOF
window 30000
press 100
expect-rows 101 2 8000
click-row 101 0
expect-rows 110 40
expect-text 108 $LIVE/pls1
expect-text 109 $LIVE/pls2
# PPPoE with the hidden address edits still carrying texts; a Korean channel title.
radio 92
settext 124 kim
settext 126 "pa ss"
settext 104 "  10.77.0.99 "
settext 114 "한국 방송"
settext 115 $LIVE/kr
press 111
no-box 1000
expect-rows 110 41
# An empty second address is asked for and gets the focus.
settext 109 "   "
press 117
box OK "Pls주소를 입력하세요"
expect-focus 109
# A dead first address: the check asks; Cancel ends the send.
settext 109 $LIVE/pls2
settext 108 $DEAD/pls
press 117
box-contains CANCEL "$NOT_LIVE"
no-box 1000
settext 108 $LIVE/pls1
# Cancel at the confirmation sends nothing and keeps the unsaved flag (checked at the close below).
press 117
box CANCEL "변경내용을 적용합니다"
mark before-send
dump-sett sett-form.txt
press 117
box OK "변경내용을 적용합니다"
box OK "저장되었습니다" 10000
dump-copy 0 copy-after.txt
# The flag is cleared: the other device loads, and the first row loads what was sent.
click-row 101 1
expect-rows 110 2
expect-cell 110 1 1 "Other 2"
click-row 101 0
expect-checked 92 1
expect-text 124 kim
expect-text 126 "pa ss"
expect-text 104 10.77.0.99
expect-rows 110 41
expect-cell 110 40 1 "한국 방송"
close
expect-gone 10000
EOF
check "the send session" [ $? = 0 ]
check "the form's SETT was dumped" need "$WORK/sett-form.txt"

messages
grep -v 'bytes=11 ' "$WORK/messages.txt"
setts=$(grep 'from=10.77.0.1:49005 to=255.255.255.255:49006' "$WORK/messages.txt" | grep -v 'bytes=11 ' | cut -d' ' -f1)
check "exactly one SETT went out (Cancel sent nothing)" [ "$(echo $setts | wc -w)" = 1 ]
sett=$(echo $setts | cut -d' ' -f1)
check "the SETT on the wire is the SETT the form showed" cmp "$WORK/messages/$sett.msg" "$WORK/sett-form.txt"
check "the SETT begins with its opcode" grep -q $'^OpCode=SETT\r$' <(head -1 "$WORK/sett-form.txt")
check "the SETT carries the PPPoE mode" grep -q $'^DhcpMode=2\r$' "$WORK/sett-form.txt"
check "hidden address edit sent trimmed" grep -q $'^LocalIP=10.77.0.99\r$' "$WORK/sett-form.txt"
check "the Korean title went out in code page 949" \
    grep -q "$(printf 'Title41=%s' "$(printf '한국 방송' | iconv -f UTF-8 -t CP949)")" "$WORK/sett-form.txt"
check "the device stored exactly that SETT" cmp "$WORK/state-a.0" "$WORK/sett-form.txt"
# Device 1 heard the same broadcast slices (its log) and stored nothing.
check "the other device heard the SETT" heard_slice "$WORK/sim1.log" &&
    check "the other device stored nothing" [ ! -e "$WORK/state-b.0" ]
check "the row keeps the sent SETT" cmp "$WORK/copy-after.txt" "$WORK/sett-form.txt"
"$CAPTURE" --datagrams "$WORK/capture.log" >"$WORK/datagrams.txt"
size=$(stat -c %s "$WORK/sett-form.txt" 2>/dev/null || echo 0)
first=$(grep -c "from=10.77.0.1:49005 to=255.255.255.255:49006 len=1472 " "$WORK/datagrams.txt")
check "the SETT of $((size + 1)) bytes went out in 1472-byte slices" [ "$size" -gt 1472 -a "$first" = $(((size + 1) / 1472)) ]
last=$(grep "from=10.77.0.1:49005 to=255.255.255.255:49006" "$WORK/datagrams.txt" | tail -1 | sed 's/.*len=\([0-9]*\).*/\1/')
check "the last slice carries the rest and the NUL" [ "$last" = $(((size + 1) % 1472)) ]
check "the device confirmed with SETC" grep -q 'from=10.77.0.11:49006 to=10.77.0.1:49005 datagrams=1 bytes=11 ' "$WORK/messages.txt"
check "both Pls addresses were checked against the stream server" \
    [ "$(grep -c 'GET /pls1' "$WORK/stream-requests.log")" -ge 3 -a "$(grep -c 'GET /pls2' "$WORK/stream-requests.log")" -ge 2 ]
finish
