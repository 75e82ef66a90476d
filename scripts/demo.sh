#!/bin/bash
# demo.sh: SetRadio on a simulated network of Velmio radios, on this machine.
#   - installs what is missing (scripts/setup.sh) and builds the program and the tools into build/
#   - starts a private test network (network namespaces, nothing leaves them) with three simulated
#     devices (3, 40 and 5 channels) and a stream server answering "ICY 200 OK" for their channels
#   - runs SetRadio.exe under Wine inside the tool's namespace:
#       with $DISPLAY set: on your display; search, click a device, add a channel (a URL under
#         http://127.0.0.1:8000/ passes the check), send, and see "저장되었습니다". Close it to end.
#       without $DISPLAY: on a private Xvfb, with a short scripted session whose screenshots are
#         saved under build/demo/.
#   - starts a stand-in for the public station directory (tests/helpers/fake_directory) beside them,
#     and points the window's 방송국 찾기 (Ctrl+F) at it through SetRadio.ini
#   SR_DEMO_DPI=144 runs it at 150 % display scale (Wine's LogPixels, a 1920x1440 screen); the
#   screenshots then go to build/demo-144/.
# Everything started here is stopped and the network removed on exit. Needs root (uses sudo).
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ "$(id -u)" != 0 ]; then exec sudo -E "$0" "$@"; fi
BUILD="${SR_BUILD:-$ROOT/build}"
JOBS="${SR_JOBS:-2}"
DPI="${SR_DEMO_DPI:-96}"
DEMO="$BUILD/demo"
[ "$DPI" = 96 ] || DEMO="$BUILD/demo-$DPI"
NET="${SR_NS_TAG:-}srdemo"   # SR_NS_TAG keeps parallel runs from different checkouts apart
LIVE="http://127.0.0.1:8000"
PIDS=""

"$ROOT/scripts/setup.sh" || exit 1
mkdir -p "$BUILD/logs"
echo "demo: building (logs in $BUILD/logs)"
cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$BUILD/logs/demo-native.log" 2>&1 &&
    cmake --build "$BUILD/native" -j "$JOBS" --target velmio_sim stream_server fake_directory >>"$BUILD/logs/demo-native.log" 2>&1 ||
    { tail -20 "$BUILD/logs/demo-native.log"; exit 1; }
cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    >"$BUILD/logs/demo-win.log" 2>&1 &&
    cmake --build "$BUILD/win" -j "$JOBS" --target SetRadio e2e_driver >>"$BUILD/logs/demo-win.log" 2>&1 ||
    { tail -20 "$BUILD/logs/demo-win.log"; exit 1; }

rm -rf "$DEMO"
mkdir -p "$DEMO"
cp "$BUILD/win/SetRadio.exe" "$BUILD/win/e2e_driver.exe" "$DEMO/"

export SR_WINEPREFIX="$BUILD/demo-wine"
if [ "$DPI" != 96 ]; then export SR_WINEPREFIX="$BUILD/demo-wine-$DPI" SR_SCREEN=1920x1440; fi
PERSON_DISPLAY="${DISPLAY:-}"
unset DISPLAY
. "$ROOT/scripts/wine-env.sh"

in_tool() { ip netns exec "$NET-tool" "$@"; }

cleanup() {
    in_tool wineserver -k >/dev/null 2>&1
    local p
    for p in $PIDS; do kill "$p" 2>/dev/null; done
    "$ROOT/scripts/testnet.sh" down "$NET"
    [ -n "${SR_XVFB_PID:-}" ] && kill "$SR_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$ROOT/scripts/testnet.sh" up "$NET" 3 || exit 1
printf 'ICY 200 OK\r\nicy-name: SetRadio demo\r\nicy-metaint: 8192\r\n\r\n' >"$DEMO/icy-answer"
in_tool "$BUILD/native/stream_server" 8000 "$DEMO/icy-answer" "$DEMO/stream-requests.log" >"$DEMO/stream.out" &
PIDS="$PIDS $!"
# The station directory's stand-in: a dozen stations, two of them silent, one https only and one HLS.
printf 'ICY 200 OK\r\n\r\n' >"$DEMO/silent-answer"
in_tool "$BUILD/native/stream_server" 8002 "$DEMO/silent-answer" "$DEMO/silent-requests.log" silent >"$DEMO/silent.out" &
PIDS="$PIDS $!"
station() {  # station UUID NAME COUNTRY CODEC BITRATE VOTES URL [HLS]
    printf '{"stationuuid":"%s","name":"%s","url":"%s","url_resolved":"%s","countrycode":"%s","tags":"demo",' \
        "$1" "$2" "$7" "$7" "$3"
    printf '"codec":"%s","bitrate":%s,"votes":%s,"hls":%s,"lastcheckok":1}' "$4" "$5" "$6" "${8:-0}"
}
{
    echo "["
    station d01 "KBS 클래식 FM" KR MP3 128 2210 "$LIVE/kbs-classic"; echo ","
    station d02 "Jazz Radio Café" FR AAC 64 1875 "$LIVE/jazz-cafe"; echo ","
    station d03 "서울 재즈 라디오" KR MP3 192 1502 "$LIVE/seoul-jazz"; echo ","
    station d04 "Radio Paradise" US MP3 320 1433 "$LIVE/paradise"; echo ","
    station d05 "Nordic Lounge" SE OGG 128 987 "http://127.0.0.1:8002/lounge"; echo ","
    station d06 "부산 뉴스 채널" KR MP3 96 864 "$LIVE/busan-news"; echo ","
    station d07 "Secure Only FM" DE MP3 128 850 "https://127.0.0.1/secure"; echo ","
    station d08 "Classic Rock 24" GB MP3 128 745 "$LIVE/rock24"; echo ","
    station d09 "Segmented Live" NL AAC 128 700 "$LIVE/seg.m3u8" 1; echo ","
    station d10 "Ambient Sleep" CA MP3 128 512 "http://127.0.0.1:8002/ambient"; echo ","
    station d11 "Radio Swiss Jazz" CH MP3 128 498 "$LIVE/swiss-jazz"; echo ","
    station d12 "국악 방송" KR MP3 128 377 "$LIVE/gugak"
    echo "]"
} >"$DEMO/stations.json"
ip netns exec "$NET-tool" "$BUILD/native/fake_directory" 127.0.0.1 8090 "$DEMO/stations.json" "$DEMO/directory.log" \
    >"$DEMO/directory.out" 2>&1 &
PIDS="$PIDS $!"
printf '[Directory]\r\nUrl=http://127.0.0.1:8090\r\n' >"$DEMO/SetRadio.ini"
device() {  # device INDEX OPTIONS...: one simulated radio answering from its own address
    local i=$1
    shift
    ip netns exec "$NET-dev" "$BUILD/native/velmio_sim" --address "$("$ROOT/scripts/testnet.sh" dev-address "$i")" \
        --pls1 "$LIVE/pls1" --pls2 "$LIVE/pls2" --log "$DEMO/device$i.log" --ready "$DEMO/device$i.ready" \
        --state "$DEMO/device$i-stored" "$@" &
    PIDS="$PIDS $!"
}
device 0 --mac 00:1A:2B:3C:4D:5E --firmware VM-2.14.3 --channels 3 --dhcp 1 \
    --url-pattern "$LIVE/classic%n" --title-pattern "클래식 채널 %n"
device 1 --mac 00:1A:2B:3C:4D:5F --firmware VM-3.0.1 --channels 40 --dhcp 0 --local-ip 10.77.0.12 \
    --url-pattern "$LIVE/news%n" --title-pattern "News %n" --delay 150
device 2 --mac 00:1A:2B:3C:4D:60 --firmware VM-1.9.8 --channels 5 --dhcp 2 --pppoe-id velmio --pppoe-psw secret \
    --url-pattern "$LIVE/jazz%n" --title-pattern "Jazz %n" --delay 300
for f in device0 device1 device2; do
    for i in $(seq 100); do [ -e "$DEMO/$f.ready" ] && break; sleep 0.05; done
done

# The prefix is made inside the namespace so that its wineserver runs there.
in_tool bash -c ". '$ROOT/scripts/wine-env.sh'; sr_wine_prefix"
if [ "$DPI" != 96 ]; then  # read when each process starts
    in_tool wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
    in_tool wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$SR_SCREEN" /f >/dev/null 2>&1
fi
in_tool wineserver -k >/dev/null 2>&1

if [ -n "$PERSON_DISPLAY" ]; then
    export DISPLAY="$PERSON_DISPLAY"
    echo "demo: SetRadio is starting on $DISPLAY. Press 라디오검색 to find the three radios;"
    echo "      channel URLs under $LIVE/ are live. Close the window to end the demo."
    (cd "$DEMO" && in_tool wine "$DEMO/SetRadio.exe")
    echo "demo: ended; what the devices stored is in $DEMO/device*-stored.0"
    exit 0
fi

sr_display
(cd "$DEMO" && in_tool wine "$DEMO/SetRadio.exe" >"$DEMO/program.out" 2>&1) &
PIDS="$PIDS $!"
drive() {  # drive NAME: runs the driver lines from stdin, after finding the window
    { echo "window 30000"; cat; } >"$DEMO/$1.drv"
    (cd "$DEMO" && in_tool wine "$DEMO/e2e_driver.exe" "$1.drv") 2>/dev/null | tr -d '\r' >"$DEMO/$1.out"
    if grep -q '^FAIL' "$DEMO/$1.out"; then grep '^FAIL' "$DEMO/$1.out"; return 1; fi
}
shot() { import -window root "$DEMO/$1.png" && echo "demo: screenshot $DEMO/$1.png"; }

drive start <<'EOF' || exit 1
sleep 500
EOF
shot 01-start
drive search <<'EOF' || exit 1
press 100
expect-rows 101 3 8000
sleep 300
EOF
shot 02-three-radios
drive device <<'EOF' || exit 1
click-row 101 1
expect-rows 110 40
sleep 300
EOF
shot 03-forty-channels
# The ChannelList's menu with the file commands and the check of every channel (the README's second picture), from the menu key.
drive menu <<'EOF' || exit 1
click-row 110 2
key 110 93
sleep 700
EOF
shot 03b-channel-menu
drive menu-close <<'EOF' || exit 1
escape
sleep 200
EOF
drive add <<EOF || exit 1
settext 114 "새 채널"
settext 115 $LIVE/new
press 111
expect-rows 110 41
expect-cell 110 40 1 "새 채널"
sleep 300
EOF
shot 04-channel-added
drive send <<'EOF' || exit 1
press 117
box OK "변경내용을 적용합니다"
expect-box "저장되었습니다"
sleep 300
EOF
shot 05-saved
# 방송국 찾기: every station the radio can take, checked; the dialog alone in its own picture.
drive find <<'EOF' || exit 1
box OK "저장되었습니다"
press 2006
dialog "방송국 찾기"
press 3004
expect-rows 3005 10 15000
wait-cells 3005 5 "확인 중" 20000
select-rows 3005 1 2
sleep 300
EOF
shot 06-station-search
find_window=$(xdotool search --name "방송국 찾기" 2>/dev/null | head -1)
[ -n "$find_window" ] && import -window "$find_window" "$DEMO/06b-station-search-dialog.png" &&
    echo "demo: screenshot $DEMO/06b-station-search-dialog.png"
drive find-close <<'EOF' || exit 1
dialog "방송국 찾기"
press 2
expect-closed
EOF
drive close <<'EOF' || exit 1
close
expect-gone 10000
EOF
echo "demo: the radio stored:"
tr -d '\r' <"$DEMO/device1-stored.0" | head -16
echo "demo: done; screenshots in $DEMO"
