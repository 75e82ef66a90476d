#!/bin/bash
# cli_wine.sh: setradio-cli.exe (the Windows console build) under Wine inside a private network:
# find of two radios (text and JSON), get into files (one in a folder only Unicode can name) and
# check of live, redirecting and dead stream servers.
# The wineserver runs inside the tool namespace, on a prefix of its own.
. "$(dirname "${BASH_SOURCE[0]}")/lib/link_env.sh" x

EXE="$SR_BUILD/win/setradio-cli.exe"
for f in "$EXE" "$STREAM"; do [ -f "$f" ] || { echo "missing $f"; exit 1; }; done
PREFIX_DIR="$SR_BUILD/wineprefix-cli"
"$TESTNET" up "$NET" 2 || exit 1

wine_cli() {  # wine_cli ARGS...: setradio-cli.exe in the tool namespace; output as UTF-8 with LF
    "$TESTNET" exec-tool "$NET" env -u DISPLAY SR_WINEPREFIX="$PREFIX_DIR" bash -c \
        '. "$1/scripts/wine-env.sh"; sr_wine_prefix; shift; wine "$@"; echo "exit $?" >&2' _ "$ROOT" "$EXE" "$@" |
        tr -d '\r' | iconv -f CP949 -t UTF-8
}
wine_raw() {  # wine_raw ARGS...: the same, output untouched
    "$TESTNET" exec-tool "$NET" env -u DISPLAY SR_WINEPREFIX="$PREFIX_DIR" bash -c \
        '. "$1/scripts/wine-env.sh"; sr_wine_prefix; shift; wine "$@"' _ "$ROOT" "$EXE" "$@"
}
stop_wineserver() {
    "$TESTNET" exec-tool "$NET" env SR_WINEPREFIX="$PREFIX_DIR" bash -c '. "$1/scripts/wine-env.sh"; wineserver -k' _ "$ROOT" 2>/dev/null
}
trap 'stop_wineserver; link_cleanup' EXIT

serve 8000 'ICY 200 OK\r\nicy-name: e2e\r\n\r\n'
serve 8002 'HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:8000/live\r\n\r\n'

start_sim --devices 2 --address 10.77.0.11 --channels 5
wine_cli find --wait 3 >"$WORK/find.txt" 2>"$WORK/find.err"
cat "$WORK/find.txt" "$WORK/find.err"
check "find under Wine exits 0" grep -q '^exit 0$' "$WORK/find.err"
for i in 0 1; do
    check "find under Wine lists radio $i with its sender" \
        grep -Eq "^00:1A:2B:3C:4D:0$i +VM-2\.14\.3 +10\.77\.0\.1$((1 + i)):49006 .* 5\$" "$WORK/find.txt"
done
check "FIND came from the Windows program's port 49005" \
    grep -q 'from=10.77.0.1:49005 to=255.255.255.255:49006 len=12 ' <("$SIM" --dump "$WORK/sim.log")
wine_cli find --wait 3 --json >"$WORK/find.json" 2>/dev/null
check "find --json under Wine: two objects" python3 -c '
import json, sys
rows = [json.loads(l) for l in open(sys.argv[1])]
assert sorted(r["mac"] for r in rows) == ["00:1A:2B:3C:4D:00", "00:1A:2B:3C:4D:01"], rows
' "$WORK/find.json"

# get: the file through -o and through stdout are the same bytes, CR LF kept as it is.
wine_raw get 00:1a:2b:3c:4d:01 -o "Z:$WORK/radio1.txt" >/dev/null 2>&1
wine_raw get 00:1a:2b:3c:4d:01 >"$WORK/radio1.stdout" 2>/dev/null
check "get under Wine writes the radio's SETT file" grep -q $'^MacAddr=00:1A:2B:3C:4D:01\r$' "$WORK/radio1.txt"
check "get under Wine: stdout gives the same bytes (no CR added)" cmp -s "$WORK/radio1.txt" "$WORK/radio1.stdout"
# A file name no code page spells arrives whole (wmain): the same file in a Thai and Korean folder.
mkdir -p "$WORK/ไทย한"
wine_raw get 00:1a:2b:3c:4d:01 -o "Z:$WORK/ไทย한/라디오.txt" >/dev/null 2>&1
check "get under Wine writes a file whose folder only Unicode can name" cmp -s "$WORK/radio1.txt" "$WORK/ไทย한/라디오.txt"
# The Linux build is part of every build: without it this check fails rather than being left out.
"$TESTNET" exec-tool "$NET" "$SR_BUILD/native/setradio-cli" get 00:1a:2b:3c:4d:01 -o "$WORK/radio1.native"
check "the Windows and the Linux build write the same file" \
    bash -c '[ -s "$1" ] && cmp -s "$1" "$2"' _ "$WORK/radio1.txt" "$WORK/radio1.native"

wine_cli check --trace http://127.0.0.1:8000/live http://127.0.0.1:8002/moved http://127.0.0.1:8001/dead \
    >"$WORK/check.txt" 2>"$WORK/check.err"
cat "$WORK/check.txt" "$WORK/check.err"
check "check under Wine exits 1 for a dead address" grep -q '^exit 1$' "$WORK/check.err"
check "check under Wine: the live and the redirected address are live" \
    [ "$(grep -c '^방송 중  http://127.0.0.1:800[02]/' "$WORK/check.txt")" = 2 ]
check "check under Wine: the refused address is not live, with its reason" grep -q '^방송 중 아님  http://127.0.0.1:8001/dead  연결 거부$' "$WORK/check.txt"
check "check --trace under Wine: the 302 hop with its Location" \
    grep -q '^    -> 127.0.0.1:8002  연결 [0-9]* ms  HTTP/1.0 302 Found  Location: http://127.0.0.1:8000/live$' "$WORK/check.txt"
check "the live server saw the Windows program's requests" [ "$(grep -c '^GET /live ' "$WORK/requests.8000")" = 2 ]

echo "cli_wine: $FAILS failed"
[ "$FAILS" = 0 ]
