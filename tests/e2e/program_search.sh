#!/bin/bash
# program_search.sh: the real program searches a test network of three simulated devices.
# Checks on the wire: FIND is 12 bytes from port 49005 to 255.255.255.255:49006; in the window: the
# devices are listed in arrival order with MAC and firmware, each row keeps its reply byte for byte,
# a 40-channel reply (several datagrams) loads all 40 rows, and a second search relists.
E2E_NAME=h6se
. "$(dirname "${BASH_SOURCE[0]}")/program_env.bash"

start_network 3
# Staggered replies give a known arrival order; device 1 has 40 channels (two datagrams).
start_device 0 --mac 00:1A:2B:3C:4D:01 --firmware VM-2.14.3 --channels 3 --title-pattern "First %n" --delay 0
start_device 1 --mac 00:1A:2B:3C:4D:02 --firmware VM-3.0.1 --channels 40 --title-pattern "Long list %n" --delay 300
start_device 2 --mac 00:1A:2B:3C:4D:03 --firmware VM-1.9 --channels 2 --title-pattern "Third %n" --delay 600 \
    --dhcp 2 --pppoe-id kim --pppoe-psw pw --line-end lf
start_program

drive first <<'EOF'
window 30000
expect-enabled 100 1
expect-rows 101 0
press 100
expect-rows 101 3 8000
expect-enabled 100 0
expect-cell 101 0 0 00:1A:2B:3C:4D:01
expect-cell 101 0 1 VM-2.14.3
expect-cell 101 1 0 00:1A:2B:3C:4D:02
expect-cell 101 1 1 VM-3.0.1
expect-cell 101 2 0 00:1A:2B:3C:4D:03
expect-cell 101 2 1 VM-1.9
dump-copies copies1.bin
click-row 101 1
expect-rows 110 40
expect-cell 110 0 0 1.
expect-cell 110 0 1 "Long list 1"
expect-cell 110 39 0 40.
expect-cell 110 39 1 "Long list 40"
expect-cell 110 39 2 http://127.0.0.1:8000/ch40
dump-rows 110 channels40.txt
click-row 101 2
expect-rows 110 2
expect-checked 92 1
expect-text 124 kim
expect-text 126 pw
EOF
rc1=$?
# The search ends about ten seconds after the press: button enabled again; then search again.
drive second <<'EOF'
window 5000
sleep 9500
expect-enabled 100 1
press 100
# The press is posted: the search has begun (and emptied the list) once its button is disabled;
# until then the first search's three rows would answer the next line.
expect-enabled 100 0
expect-rows 101 3 8000
expect-cell 101 0 0 00:1A:2B:3C:4D:01
expect-cell 101 2 0 00:1A:2B:3C:4D:03
dump-copies copies2.bin
# The form keeps the last device's values and enabled controls, but no row is selected now.
expect-selected 101 -1
expect-text 124 kim
expect-enabled 117 1
press 117
box OK "Velmio를 선택해야 합니다"
EOF
rc2=$?
check "the driver's first session" [ $rc1 = 0 ]
check "the driver's second session" [ $rc2 = 0 ]

messages
cat "$WORK/messages.txt"
# The tool's sends: two FINDs, each one datagram of 12 bytes from 10.77.0.1:49005 to 255.255.255.255:49006.
finds=$(grep -c 'from=10.77.0.1:49005 to=255.255.255.255:49006 datagrams=1 bytes=11 ' "$WORK/messages.txt")
check "two FIND messages on the wire" [ "$finds" = 2 ]
check "no FIND to any other address (one network)" \
    [ "$(grep -c 'from=10.77.0.1:49005 to=[0-9.]*:49006 datagrams=1 bytes=11 ' "$WORK/messages.txt")" = 2 ]
first_find=$(grep 'from=10.77.0.1:49005' "$WORK/messages.txt" | head -1 | cut -d' ' -f1)
check "FIND text is OpCode=FIND" cmp -s "$WORK/messages/$first_find.msg" <(printf 'OpCode=FIND')
"$CAPTURE" --datagrams "$WORK/capture.log" >"$WORK/datagrams.txt"
check "FIND datagram is 12 bytes with its NUL" grep -q 'from=10.77.0.1:49005 to=255.255.255.255:49006 len=12 ' "$WORK/datagrams.txt"

# Replies of the first search in arrival order, as the program keeps them (NUL-separated).
replies=$(grep 'to=10.77.0.1:49005' "$WORK/messages.txt" | head -3 | cut -d' ' -f1)
: >"$WORK/expected1.bin"
for n in $replies; do cat "$WORK/messages/$n.msg" >>"$WORK/expected1.bin"; printf '\0' >>"$WORK/expected1.bin"; done
check "rows keep the replies byte for byte, in arrival order" cmp "$WORK/expected1.bin" "$WORK/copies1.bin"
check "the 40-channel reply came in several datagrams" \
    grep -q 'from=10.77.0.12:49006 to=10.77.0.1:49005 datagrams=[2-9]' "$WORK/messages.txt"
check "40 channel rows loaded" [ "$(wc -l <"$WORK/channels40.txt")" = 40 ]
check "channel 40 row" grep -qx $'40.\tLong list 40\thttp://127.0.0.1:8000/ch40' "$WORK/channels40.txt"

replies2=$(grep 'to=10.77.0.1:49005' "$WORK/messages.txt" | sed -n 4,6p | cut -d' ' -f1)
: >"$WORK/expected2.bin"
for n in $replies2; do cat "$WORK/messages/$n.msg" >>"$WORK/expected2.bin"; printf '\0' >>"$WORK/expected2.bin"; done
check "second search relists the three devices from row 0" cmp "$WORK/expected2.bin" "$WORK/copies2.bin"
finish
