#!/bin/bash
# program_hostile.sh: misbehaving devices next to a good one, with the real program.
# A reply with another opcode (IMIX) is ignored; a 65,507-byte datagram without NUL before a reply
# and a reply that never sends its NUL do not stop the program; the good device is listed with its
# reply intact, and a later search still works.
E2E_NAME=h6ho
. "$(dirname "${BASH_SOURCE[0]}")/program_env.bash"

start_network 4
start_device 0 --mac 00:1A:2B:3C:4D:31 --channels 3 --delay 100
start_device 1 --mac 00:1A:2B:3C:4D:32 --malformed opcode
start_device 2 --mac 00:1A:2B:3C:4D:33 --malformed oversize --delay 50
start_device 3 --mac 00:1A:2B:3C:4D:34 --malformed nonul --delay 200
start_program

# The reply without NUL ends only after five seconds of silence from its sender; the pending-text
# timer then hands it on, while the window goes on answering.
drive hostile <<'EOF2'
window 30000
bench-search 3 9000 figures.txt
dump-rows 101 rows.txt
dump-copies copies.bin
click-row 101 1
expect-rows 110 3
expect-cell 110 2 1 "Channel 3"
EOF2
check "the session" [ $? = 0 ]
check "the rows and their kept texts were dumped" need "$WORK/rows.txt" "$WORK/copies.bin"
cat "$WORK/rows.txt" "$WORK/figures.txt"
messages
good=$(grep 'from=10.77.0.11:49006 to=10.77.0.1:49005' "$WORK/messages.txt" | head -1 | cut -d' ' -f1)
mapfile -d '' copies <"$WORK/copies.bin"
check "three rows: the good, the oversize and the endless device" [ "${#copies[@]}" = 3 ]
check "no row for the device with another opcode" bash -c '[ -s "$1" ] && ! grep -q 4D:32 "$1"' _ "$WORK/rows.txt"
check "the good device is listed" grep -q $'^00:1A:2B:3C:4D:31\tVM-2.14.3$' "$WORK/rows.txt"
row=$(grep -n '^00:1A:2B:3C:4D:31' "$WORK/rows.txt" | cut -d: -f1)
printf '%s' "${copies[$((row - 1))]:-}" >"$WORK/good-copy.txt"
check "the good device keeps its reply byte for byte" cmp "$WORK/good-copy.txt" "$WORK/messages/$good.msg"
check "the endless reply is kept as far as it came" grep -q 4D:34 "$WORK/rows.txt"
drive again <<'EOF2'
window 5000
sleep 9000
expect-enabled 100 1
press 100
expect-enabled 100 0
expect-rows 101 3 9000
EOF2
check "a later search lists them again" [ $? = 0 ]
finish
