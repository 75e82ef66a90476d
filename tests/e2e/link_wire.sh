#!/bin/bash
# link_wire.sh: the DeviceLink on the wire in a private network: FIND and slicing as the devices
# see them, replies collected from several devices, SETT stored and confirmed by the simulator.
. "$(dirname "${BASH_SOURCE[0]}")/lib/link_env.sh" w

"$TESTNET" up "$NET" 3 || exit 1
MAC0=00:1A:2B:3C:4D:00
MAC1=00:1A:2B:3C:4D:01
MAC2=00:1A:2B:3C:4D:02

# FIND: one 12-byte datagram to 255.255.255.255:49006 from port 49005; every device answers.
start_sim --devices 3 --address 10.77.0.11 --channels 4 --state "$WORK/state"
"$TESTNET" exec-tool "$NET" "$CLI" --wait 3000 --expect 3 --out "$WORK" >"$WORK/find.out"
check "three IMIN replies to FIND" [ "$(grep -c 'kind=IMIN' "$WORK/find.out")" = 3 ]
for mac in $MAC0 $MAC1 $MAC2; do check "reply from $mac" grep -q "mac=$mac\$" "$WORK/find.out"; done
check "FIND is the only datagram the devices saw" [ "$(logged_count)" = 1 ]
check "FIND from 10.77.0.1:49005 to 255.255.255.255:49006, 12 bytes" \
    grep -q '^0 device=-1 from=10.77.0.1:49005 to=255.255.255.255:49006 len=12 ' <("$SIM" --dump "$WORK/sim.log")
printf 'OpCode=FIND\0' >"$WORK/find.expected"
"$SIM" --dump-bytes "$WORK/sim.log" 0 >"$WORK/find.wire"
check "FIND bytes are OpCode=FIND and one NUL" cmp -s "$WORK/find.expected" "$WORK/find.wire"
for k in 0 1 2; do
    mac=$(sed -n 's/^MacAddr=\(.*\)\r$/\1/p' "$WORK/message.$k")
    idx=$((16#${mac##*:}))
    "$SIM" --devices 3 --channels 4 --print-imin "$idx" | head -c -1 >"$WORK/imin.expected"
    check "reply $k byte-equal to what device $idx sent" cmp -s "$WORK/imin.expected" "$WORK/message.$k"
done

# Slicing: 3000 -> 1472 1472 57; 1471 -> 1472; 1472 -> 1472 1; the bytes joined are the text and its NUL.
slice_case() {  # slice_case LENGTH EXPECTED-LENGTHS
    local first
    first=$(logged_count)
    yes 'Title12=Channel text ' | head -c "$1" >"$WORK/text.$1"
    "$TESTNET" exec-tool "$NET" "$CLI" --file "$WORK/text.$1" --wait 300 >/dev/null
    # No device answers such a text: the simulator's log is waited for.
    wait_for "the $(echo $2 | wc -w) slices of $1 bytes in the simulator's log" 5 logged_at_least $((first + $(echo $2 | wc -w)))
    check "text of $1 bytes goes out as $2" [ "$(logged_lengths "$first")" = "$2" ]
    { cat "$WORK/text.$1"; printf '\0'; } >"$WORK/text.$1.expected"
    logged_bytes "$first" $(($(logged_count) - 1)) "$WORK/text.$1.wire"
    check "text of $1 bytes arrives whole, in order, with its NUL" cmp -s "$WORK/text.$1.expected" "$WORK/text.$1.wire"
    check "every slice of $1 goes to the broadcast address from port 49005" all_from_tool_port "$first"
}
all_from_tool_port() {  # all_from_tool_port FIRST: records from FIRST on exist, all from 49005 to the broadcast address
    "$SIM" --dump "$WORK/sim.log" | awk -v f="$1" '$1 >= f { n++; if ($3 != "from=10.77.0.1:49005" || $4 != "to=255.255.255.255:49006") bad++ }
        END { exit !(n > 0 && !bad) }'
}
slice_case 3000 "1472 1472 57"
slice_case 1471 "1472"
slice_case 1472 "1472 1"

# SETT for device 1: stored (a later FIND returns it) and confirmed with SETC; others unchanged.
sett_text() {  # sett_text MAC LOCALIP
    printf 'OpCode=SETT\r\nDhcpMode=0\r\nMacAddr=%s\r\nLocalIP=%s\r\nSubnetMask=255.255.0.0\r\nGatewayIP=10.77.0.254\r\nDNS_IP=10.77.0.253\r\nPPPoEID=user\r\nPPPoEPsw=secret\r\nPlsUrl1=http://10.77.0.1:8000/a.pls\r\nPlsUrl2=http://10.77.0.1:8000/b.pls\r\nNumberOfEntries=2\r\nFile1=http://10.77.0.1:8000/one\r\nTitle1=%s\r\nFile2=http://10.77.0.1:8000/two\r\nTitle2=Second\r\n' \
        "$1" "$2" "$(yes 'Long title ' | head -c 2600 | tr -d '\n')"
}
sett_text $MAC1 10.77.0.99 >"$WORK/sett1"
"$TESTNET" exec-tool "$NET" "$CLI" --file "$WORK/sett1" --wait 3000 --expect 1 >"$WORK/sett1.out"
check "SETT for device 1 confirmed by SETC" grep -q 'kind=SETC' "$WORK/sett1.out"
check "device 1 stored the SETT byte for byte" cmp -s "$WORK/sett1" "$WORK/state.1"
check "devices 0 and 2 stored nothing (device 1 did)" \
    bash -c '[ -s "$1/state.1" ] && [ ! -e "$1/state.0" ] && [ ! -e "$1/state.2" ]' _ "$WORK"
sett_text 00:00:00:00:00:99 10.77.0.98 >"$WORK/sett9"
first=$(logged_count)
"$TESTNET" exec-tool "$NET" "$CLI" --file "$WORK/sett9" --wait 1000 >"$WORK/sett9.out"
check "the devices heard the SETT for an unknown MAC" \
    wait_for "the SETT for an unknown MAC in the simulator's log" 5 logged_at_least $((first + 1)) &&
    check "SETT for an unknown MAC gets no answer" grep -q '^messages 0$' "$WORK/sett9.out"
rm -f "$WORK"/message.*
"$TESTNET" exec-tool "$NET" "$CLI" --wait 3000 --expect 3 --out "$WORK" >"$WORK/find2.out"
check "device 1 answers with the stored address" grep -q 'LocalIP=10.77.0.99' "$(grep -l "MacAddr=$MAC1" "$WORK"/message.*)"
check "device 1 answers with the stored channels" grep -q 'NumberOfEntries=2' "$(grep -l "MacAddr=$MAC1" "$WORK"/message.*)"
check "the other devices keep their values" [ "$(grep -L 'LocalIP=10.77.0.99' "$WORK"/message.* | wc -l)" = 2 ]

# Restarted simulator reads its state file: the stored settings survive.
start_sim --devices 3 --address 10.77.0.11 --channels 4 --state "$WORK/state"
rm -f "$WORK"/message.*
"$TESTNET" exec-tool "$NET" "$CLI" --wait 3000 --expect 3 --out "$WORK" >/dev/null
check "stored settings survive a restart" grep -q 'PPPoEPsw=secret' "$(grep -l "MacAddr=$MAC1" "$WORK"/message.*)"

# Interleaved slices of three devices (40 channels, 3 slices each, 5 ms apart) are joined per sender.
start_sim --devices 3 --address 10.77.0.11 --channels 40 --slice-gap 5 \
    --url-pattern 'http://10.77.0.1:8000/stream/velmio/device%d/channel%n.mp3' --title-pattern 'Channel %n of device %d, test broadcast'
rm -f "$WORK"/message.*
"$TESTNET" exec-tool "$NET" "$CLI" --wait 3000 --expect 3 --out "$WORK" >"$WORK/inter.out"
check "three interleaved replies" [ "$(grep -c 'kind=IMIN' "$WORK/inter.out")" = 3 ]
for k in 0 1 2; do
    mac=$(sed -n 's/^MacAddr=\(.*\)\r$/\1/p' "$WORK/message.$k")
    idx=$((16#${mac##*:}))
    "$SIM" --devices 3 --channels 40 --url-pattern 'http://10.77.0.1:8000/stream/velmio/device%d/channel%n.mp3' \
        --title-pattern 'Channel %n of device %d, test broadcast' --print-imin "$idx" | head -c -1 >"$WORK/imin.expected"
    check "interleaved reply of device $idx is intact ($(stat -c %s "$WORK/imin.expected") bytes)" cmp -s "$WORK/imin.expected" "$WORK/message.$k"
done

# A device whose reply lacks its NUL: the text is ended after the idle limit and still read.
start_sim --devices 1 --address 10.77.0.11 --malformed nonul
"$TESTNET" exec-tool "$NET" "$CLI" --wait 1500 --idle 500 --expect 1 >"$WORK/nonul.out"
check "reply without NUL is delivered after the idle limit" grep -q 'kind=IMIN' "$WORK/nonul.out"
# A reply with a wrong opcode is collected and classified as neither IMIN nor SETC.
start_sim --devices 1 --address 10.77.0.11 --malformed opcode
"$TESTNET" exec-tool "$NET" "$CLI" --wait 1500 --expect 1 >"$WORK/opcode.out"
check "reply with a wrong opcode is OTHER" grep -q 'kind=OTHER' "$WORK/opcode.out"
# An oversized datagram before the reply: the message is cut, nothing overflows.
start_sim --devices 1 --address 10.77.0.11 --malformed oversize
"$TESTNET" exec-tool "$NET" "$CLI" --wait 1500 --expect 1 >"$WORK/over.out"
check "oversized datagram and reply end as one message of 65,791 bytes" grep -q 'bytes=65791 ' "$WORK/over.out"

echo "link_wire: $FAILS failed"
[ "$FAILS" = 0 ]
