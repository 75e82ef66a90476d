#!/bin/bash
# link_wine.sh: the DeviceLink of the Windows build, under Wine inside a private network: FIND and
# replies of two devices, a sliced SETT confirmed by the device. The wineserver runs inside the
# tool namespace, on a prefix of its own.
. "$(dirname "${BASH_SOURCE[0]}")/lib/link_env.sh" n

EXE="$SR_BUILD/win/devlink_cli.exe"
[ -f "$EXE" ] || { echo "missing $EXE"; exit 1; }
PREFIX_DIR="$SR_BUILD/wineprefix-h2link"
"$TESTNET" up "$NET" 2 || exit 1

wine_tool() {  # wine_tool ARGS...: devlink_cli.exe in the tool namespace; console output as UTF-8 LF
    "$TESTNET" exec-tool "$NET" env -u DISPLAY SR_WINEPREFIX="$PREFIX_DIR" bash -c \
        '. "$1/scripts/wine-env.sh"; sr_wine_prefix; shift; wine "$@"' _ "$ROOT" "$EXE" "$@" | tr -d '\r'
}
stop_wineserver() {
    "$TESTNET" exec-tool "$NET" env SR_WINEPREFIX="$PREFIX_DIR" bash -c '. "$1/scripts/wine-env.sh"; wineserver -k' _ "$ROOT" 2>/dev/null
}
trap 'stop_wineserver; link_cleanup' EXIT

start_sim --devices 2 --address 10.77.0.11 --channels 30 --slice-gap 3 --state "$WORK/state"
wine_tool --wait 5000 --expect 2 --out "Z:$WORK" >"$WORK/find.out"
cat "$WORK/find.out"
check "two IMIN replies under Wine" [ "$(grep -c 'kind=IMIN' "$WORK/find.out")" = 2 ]
check "FIND from port 49005 to 255.255.255.255:49006, 12 bytes" \
    grep -q '^0 device=-1 from=10.77.0.1:49005 to=255.255.255.255:49006 len=12 ms=[0-9]* text=OpCode=FIND\\x00$' <("$SIM" --dump "$WORK/sim.log")
for k in 0 1; do
    mac=$(sed -n 's/^MacAddr=\(.*\)\r$/\1/p' "$WORK/message.$k")
    idx=$((16#${mac##*:}))
    "$SIM" --devices 2 --channels 30 --print-imin "$idx" | head -c -1 >"$WORK/imin.expected"
    check "reply $k byte-equal to what device $idx sent" cmp -s "$WORK/imin.expected" "$WORK/message.$k"
done

first=$(logged_count)
{ printf 'OpCode=SETT\r\nDhcpMode=1\r\nMacAddr=00:1A:2B:3C:4D:01\r\nNumberOfEntries=1\r\nFile1=http://10.77.0.1/x\r\nTitle1='
  yes 'Wine title ' | tr -d '\n' | head -c 3000; } | head -c 3000 >"$WORK/sett"
wine_tool --file "Z:$WORK/sett" --wait 5000 --expect 1 >"$WORK/sett.out"
cat "$WORK/sett.out"
check "SETT of 3000 bytes goes out as 1472 1472 57" [ "$(logged_lengths "$first")" = "1472 1472 57" ]
check "SETT confirmed with SETC under Wine" grep -q 'kind=SETC' "$WORK/sett.out"
check "device 1 stored the SETT byte for byte" cmp -s "$WORK/sett" "$WORK/state.1"

# Name resolution of the Windows build: an unknown name fails at once and nothing is connected.
# The windows tier builds core_tests.exe: without it this check fails rather than being left out.
CORE="$SR_BUILD/win/core_tests.exe"
check "core_tests.exe is built" [ -f "$CORE" ]
if [ -f "$CORE" ]; then
    "$TESTNET" exec-tool "$NET" env -u DISPLAY SR_PRIVATE_NET=1 SR_WINEPREFIX="$PREFIX_DIR" bash -c \
        '. "$1/scripts/wine-env.sh"; shift; wine "$@"' _ "$ROOT" "$CORE" --gtest_filter='ResolveHost.*:ConnectTcp.*' \
        2>"$WORK/resolve.err" | tr -d '\r' >"$WORK/resolve.out"
    rc=${PIPESTATUS[0]}
    check "unresolvable name under Wine gives no address and no socket" \
        grep -q '^\[       OK \] ResolveHost.UnresolvableNameInAPrivateNetwork' "$WORK/resolve.out"
    check "resolution and connect tests pass under Wine (runner exit status $rc)" [ "$rc" = 0 ] || cat "$WORK/resolve.out"
fi

echo "link_wine: $FAILS failed"
[ "$FAILS" = 0 ]
