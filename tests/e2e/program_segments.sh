#!/bin/bash
# program_segments.sh: the real program on a PC with two networks (testnet.sh's second segment).
# Two radios on 10.77.0.0/24 (the default route's link) and one on 10.78.0.0/24 (no default route):
# a search lists each radio exactly once, a send to the radio on the second segment reaches it and
# its SETC box shows, and the capture on each link shows exactly one FIND: to 255.255.255.255 on
# the first, to 10.78.0.255 on the second. Each whole SETT goes to one address after the other.
E2E_NAME=h13m
. "$(dirname "${BASH_SOURCE[0]}")/program_env.bash"

start_network 2 1
start_device 0 --mac 00:1A:2B:3C:4D:31 --channels 3 --delay 0 --state "$WORK/state-a"
start_device 1 --mac 00:1A:2B:3C:4D:32 --channels 3 --delay 300 --state "$WORK/state-b"
# 40 channels: the SETT takes several slices on each link.
start_device2 0 --mac 00:1A:2B:3C:4D:33 --channels 40 --title-pattern "Far %n" --delay 600 --state "$WORK/state-c"
start_program

drive segments <<EOF2
window 30000
press 100
expect-rows 101 3 8000
expect-cell 101 0 0 00:1A:2B:3C:4D:31
expect-cell 101 1 0 00:1A:2B:3C:4D:32
expect-cell 101 2 0 00:1A:2B:3C:4D:33
# No radio is listed twice, also after the replies to a second copy would have come.
sleep 2000
expect-rows 101 3
click-row 101 2
expect-rows 110 40
expect-cell 110 39 1 "Far 40"
settext 114 "Second segment"
settext 115 $LIVE/far
press 111
no-box 1000
expect-rows 110 41
dump-sett sett-form.txt
press 117
box OK "변경내용을 적용합니다"
box OK "저장되었습니다" 10000
close
expect-gone 10000
EOF2
check "the driver's session" [ $? = 0 ]

messages
messages 2
cat "$WORK/messages.txt" "$WORK/messages2.txt"
# FIND is the only 11-byte text the tool sends.
check "one FIND on the first link, to 255.255.255.255" \
    [ "$(grep -c 'from=10.77.0.1:49005 to=[0-9.]*:49006 datagrams=1 bytes=11 ' "$WORK/messages.txt")" = 1 -a \
      "$(grep -c 'from=10.77.0.1:49005 to=255.255.255.255:49006 datagrams=1 bytes=11 ' "$WORK/messages.txt")" = 1 ]
check "one FIND on the second link, to 10.78.0.255" \
    [ "$(grep -c 'from=10.78.0.1:49005 to=[0-9.]*:49006 datagrams=1 bytes=11 ' "$WORK/messages2.txt")" = 1 -a \
      "$(grep -c 'from=10.78.0.1:49005 to=10.78.0.255:49006 datagrams=1 bytes=11 ' "$WORK/messages2.txt")" = 1 ]
find2=$(grep 'from=10.78.0.1:49005 to=10.78.0.255:49006 datagrams=1 bytes=11 ' "$WORK/messages2.txt" | cut -d' ' -f1)
check "the second link's FIND text is OpCode=FIND" cmp -s "$WORK/messages2/$find2.msg" <(printf 'OpCode=FIND')
check "the far radio answered on the second link" \
    grep -q 'from=10.78.0.11:49006 to=10.78.0.1:49005 datagrams=[2-9]' "$WORK/messages2.txt"

sett1=$(grep 'from=10.77.0.1:49005 to=255.255.255.255:49006' "$WORK/messages.txt" | grep -v 'bytes=11 ' | cut -d' ' -f1)
sett2=$(grep 'from=10.78.0.1:49005 to=10.78.0.255:49006' "$WORK/messages2.txt" | grep -v 'bytes=11 ' | cut -d' ' -f1)
check "one SETT on each link" [ "$(echo $sett1 | wc -w)" = 1 -a "$(echo $sett2 | wc -w)" = 1 ]
check "the SETT on the first link is the form's" cmp "$WORK/messages/$sett1.msg" "$WORK/sett-form.txt"
check "the SETT on the second link is the form's" cmp "$WORK/messages2/$sett2.msg" "$WORK/sett-form.txt"
check "the far radio stored exactly that SETT" cmp "$WORK/state-c.0" "$WORK/sett-form.txt"
check "the radios of the first segment heard the SETT" heard_slice "$WORK/sim0.log" "$WORK/sim1.log" &&
    check "the radios of the first segment stored nothing" [ ! -e "$WORK/state-a.0" -a ! -e "$WORK/state-b.0" ]
check "the far radio confirmed with SETC" \
    grep -q 'from=10.78.0.11:49006 to=10.78.0.1:49005 datagrams=1 bytes=11 ' "$WORK/messages2.txt"
# Never interleaved: the last slice to 255.255.255.255 left before the first to 10.78.0.255. The two
# captures' times are the kernel's, in nanoseconds, taken as each datagram left: comparable.
"$CAPTURE" --datagrams "$WORK/capture.log" >"$WORK/datagrams.txt"
"$CAPTURE" --datagrams "$WORK/capture2.log" >"$WORK/datagrams2.txt"
last1=$(grep 'from=10.77.0.1:49005 to=255.255.255.255:49006 ' "$WORK/datagrams.txt" | grep -v ' len=12 ' | tail -1 | sed 's/.* ns=//')
first2=$(grep 'from=10.78.0.1:49005 to=10.78.0.255:49006 ' "$WORK/datagrams2.txt" | grep -v ' len=12 ' | head -1 | sed 's/.* ns=//')
check "the SETT went in several slices on each link" \
    [ "$(grep -c "^$sett1 .* datagrams=[2-9] " "$WORK/messages.txt")$(grep -c "^$sett2 .* datagrams=[2-9] " "$WORK/messages2.txt")" = 11 ]
check "the whole SETT went to 255.255.255.255 (${last1:-none} ns) before any of it to 10.78.0.255 (${first2:-none} ns)" \
    bash -c '[ -n "$1" ] && [ -n "$2" ] && [ "$1" -lt "$2" ]' _ "$last1" "$first2"
finish
