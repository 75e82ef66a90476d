#!/bin/bash
# cli_search.sh: setradio-cli search (Linux build, then briefly the Windows build) in a private network against the fake station
# directory on the tool's loopback: text and JSON output, filters, -o playlists read back by
# check --file, --check, the mode that answers every station (the program's own rule must leave out
# https-only, HLS and over-long addresses), the exit codes, and HTTPS through nginx with a test CA
# that reaches the program only inside a private mount namespace; then the Windows build under Wine.
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
: "${SR_BUILD:?SR_BUILD must name the build folder holding native/}"
TOOL="$SR_BUILD/native/setradio-cli"
FAKE="$SR_BUILD/native/fake_directory"
STREAM="$SR_BUILD/native/stream_server"
NGINX="$(command -v nginx || echo /usr/sbin/nginx)"
TESTNET="$ROOT/scripts/testnet.sh"
FIXTURE="$ROOT/tests/files/directory_stations.json"
NET="${SR_NS_TAG:-}srch"   # SR_NS_TAG keeps parallel runs from different checkouts apart
WORK="$(mktemp -d /tmp/sr-search.XXXXXX)"
PIDS=()
FAILS=0
for f in "$TOOL" "$FAKE" "$STREAM" "$NGINX"; do [ -x "$f" ] || { echo "missing $f"; exit 1; }; done

cleanup() {
    local p
    "$TESTNET" exec-tool "$NET" env SR_WINEPREFIX="$SR_BUILD/wineprefix-search" bash -c \
        '. "$1/scripts/wine-env.sh"; wineserver -k' _ "$ROOT" 2>/dev/null
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
    "$TESTNET" down "$NET"
    rm -rf "$WORK"
}
trap cleanup EXIT
"$TESTNET" up "$NET" 1 || exit 1
chmod 755 "$WORK"

check() {  # check DESCRIPTION COMMAND...: prints pass/FAIL and counts failures
    local what=$1; shift
    if "$@"; then echo "pass: $what"; return 0; fi
    echo "FAIL: $what"; FAILS=$((FAILS + 1)); return 1
}
holds() { eval "$1"; }   # holds 'TEST && TEST': several conditions as one check
in_net() { "$TESTNET" exec-tool "$NET" "$@"; }   # not for servers: $! would not be their process
cli() { in_net env -u SETRADIO_DIRECTORY LANG=C.UTF-8 "$TOOL" "$@"; }
# wait_ready FILE WHAT: a started server's "ready" line, within 5 s.
wait_ready() {
    local i
    for i in $(seq 100); do grep -q '^ready' "$1" 2>/dev/null && return 0; sleep 0.05; done
    echo "$2 did not start"; cat "$1"; exit 1
}
# start_fake MODE: the fake directory on 127.0.0.1:8090 in the tool's namespace, a fresh log.
start_fake() {
    if [ -n "${FAKE_PID:-}" ]; then kill "$FAKE_PID"; wait "$FAKE_PID" 2>/dev/null; fi
    : >"$WORK/fake.log"
    rm -f "$WORK/fake.out"
    "$TESTNET" exec-tool "$NET" "$FAKE" 127.0.0.1 8090 "$FIXTURE" "$WORK/fake.log" "$1" >"$WORK/fake.out" 2>&1 &
    FAKE_PID=$!
    PIDS+=("$FAKE_PID")
    wait_ready "$WORK/fake.out" "fake directory ($1)"
}
DIR=http://127.0.0.1:8090

# A live ICY stream on 8000; nothing listens on 8001 (refused).
printf 'ICY 200 OK\r\nicy-name: e2e\r\n\r\n' >"$WORK/icy"
"$TESTNET" exec-tool "$NET" "$STREAM" 8000 "$WORK/icy" "$WORK/stream.log" >"$WORK/stream.out" 2>&1 &
PIDS+=($!)
wait_ready "$WORK/stream.out" "stream server"
start_fake filter

# Text: the four offered stations in the directory's order; HLS and over-long left out and counted.
cli search --directory "$DIR" >"$WORK/all.txt" 2>"$WORK/all.err"; rc=$?
cat "$WORK/all.txt" "$WORK/all.err"
check "search exits 0 with four lines" holds '[ $rc = 0 ] && [ "$(wc -l <"$WORK/all.txt")" = 4 ]'
check "lines: name, country, codec, bitrate, votes, address, most votes first" \
    grep -qx 'Jazz FM  KR  MP3  128 kbps  추천 500  http://127.0.0.1:8000/jazz' "$WORK/all.txt"
check "the Korean name converted, é as one ?; the second line" \
    [ "$(sed -n 2p "$WORK/all.txt")" = '한국 방송 ?  KR  AAC  64 kbps  추천 400  http://127.0.0.1:8001/korea' ]
check "a blank name shows its host name" grep -q '^localhost  KR  MP3  0 kbps  추천 50  http://localhost:8000/nameless$' "$WORK/all.txt"
check "HLS and the over-long address are not offered, and are counted" \
    holds '[ -s "$WORK/all.txt" ] && ! grep -Eq "news.m3u8|aaaaaaaaaa" "$WORK/all.txt" && grep -q "찾은 방송국: 4, 뺀 방송국: 2" "$WORK/all.err"'
check "the directory was asked once, with the fixed filters and the User-Agent" [ "$(cat "$WORK/fake.log")" = \
    "GET /json/stations/search?hidebroken=true&is_https=false&order=votes&reverse=true&limit=100 UA=setradio-cli/$("$TOOL" --version | awk '{print $2}')" ]

# JSON, with the filters sent as given; the name in full, the title as it would be stored.
cli search 한국 --country kr --tag news --limit 5 --json --directory "$DIR" >"$WORK/kr.json"; rc=$?
cat "$WORK/kr.json"
check "search --json exits 0" [ $rc = 0 ]
check "one object with every field; name in full UTF-8, title in 949 shown as UTF-8" python3 -c '
import json, sys
rows = [json.loads(l) for l in open(sys.argv[1])]
assert len(rows) == 1, rows
r = rows[0]
assert list(r) == ["uuid", "name", "title", "country", "codec", "bitrate", "votes", "url"], r
assert r["name"] == "한국 방송 é" and r["title"] == "한국 방송 ?", r
assert (r["uuid"], r["country"], r["codec"], r["bitrate"], r["votes"], r["url"]) == \
    ("a1b2c3d4-0000-0000-0000-000000000002", "KR", "AAC", 64, 400, "http://127.0.0.1:8001/korea"), r
' "$WORK/kr.json"
check "the query: name percent-encoded as UTF-8, country upper case, tag, limit" \
    grep -q '^GET /json/stations/search?name=%ED%95%9C%EA%B5%AD&countrycode=KR&tag=news&hidebroken=true&is_https=false&order=votes&reverse=true&limit=5 ' "$WORK/fake.log"

# --directory wins over SETRADIO_DIRECTORY; the variable alone is used too.
in_net env SETRADIO_DIRECTORY=http://127.0.0.1:8099 LANG=C.UTF-8 "$TOOL" search jazz --directory "$DIR" >/dev/null 2>&1
check "--directory wins over SETRADIO_DIRECTORY" [ $? = 0 ]
in_net env SETRADIO_DIRECTORY="$DIR" LANG=C.UTF-8 "$TOOL" search jazz >"$WORK/env.txt" 2>/dev/null
rc=$?
check "SETRADIO_DIRECTORY alone is used" holds '[ $rc = 0 ] && grep -q "^Jazz FM " "$WORK/env.txt"'

# -o: playlists of every offered station, read back by check --file; --check probes them.
cli search --directory "$DIR" -o "$WORK/found.m3u8" >/dev/null 2>&1; rc=$?
CR=$(printf '\r')
check "-o FILE.m3u8 exits 0 and writes an M3U with UTF-8 titles and CR LF lines" holds '[ $rc = 0 ] &&
    [ "$(head -1 "$WORK/found.m3u8")" = "#EXTM3U$CR" ] && grep -q "^#EXTINF:-1,한국 방송 ?$CR\$" "$WORK/found.m3u8" &&
    grep -q "^#EXTINF:-1,localhost$CR\$" "$WORK/found.m3u8"'
cli search --directory "$DIR" -o "$WORK/found.pls" >/dev/null 2>&1
check "-o FILE.pls writes a PLS" grep -q "^NumberOfEntries=4$CR\$" "$WORK/found.pls"
cli check --file "$WORK/found.m3u8" --json >"$WORK/checked.json"; rc=$?
cat "$WORK/checked.json"
check "check --file reads the playlist back: four channels, one refused (exit 1)" holds '[ $rc = 1 ] &&
    [ "$(grep -c "\"live\":true" "$WORK/checked.json")" = 3 ] &&
    grep -q "\"url\":\"http://127.0.0.1:8001/korea\".*\"live\":false,\"reason\":\"refused\"" "$WORK/checked.json"'
cli search --directory "$DIR" --check --jobs 2 --json >"$WORK/probe.json"; rc=$?
check "--check adds live and reason; the exit code stays 0" holds '[ $rc = 0 ] &&
    grep -q "\"url\":\"http://127.0.0.1:8000/jazz\",\"live\":true,\"reason\":\"\"}" "$WORK/probe.json" &&
    grep -q "\"url\":\"http://127.0.0.1:8001/korea\",\"live\":false,\"reason\":\"refused\"}" "$WORK/probe.json"'
cli search jazz --directory "$DIR" --check >"$WORK/probe.txt" 2>/dev/null
check "--check in text: the probe's result follows the address" grep -q 'http://127.0.0.1:8000/jazz  방송 중$' "$WORK/probe.txt"
check "search never calls the click endpoint (the log holds the searches)" \
    holds 'grep -q "^GET /json/stations/search" "$WORK/fake.log" && ! grep -q "/json/url/" "$WORK/fake.log"'

# Every station, filters ignored: the program's own rule decides.
start_fake all
cli search nothing-matches --directory "$DIR" --json >"$WORK/every.json" 2>"$WORK/every.err"; rc=$?
check "answered every station: six offered, three left out" holds '[ $rc = 0 ] && [ "$(wc -l <"$WORK/every.json")" = 6 ] &&
    grep -q "찾은 방송국: 6, 뺀 방송국: 3" "$WORK/every.err"'
check "https-only, HLS and over-long stations are not offered" \
    holds '[ -s "$WORK/every.json" ] && ! grep -Eq "Secure Only|HLS News|Long Address|https://" "$WORK/every.json"'
check "url taken when url_resolved is https://" grep -q '"name":"Mixed Classic".*"url":"http://127.0.0.1:8000/classic"' "$WORK/every.json"

# Exit codes.
start_fake filter
cli search zzz-none --directory "$DIR" >/dev/null 2>&1
check "no station matched: exit 1" [ $? = 1 ]
cli search --directory http://127.0.0.1:8099 >/dev/null 2>"$WORK/down.err"; rc=$?
check "unreachable directory: exit 3 with the reason" holds '[ $rc = 3 ] && grep -q "연결할 수 없습니다" "$WORK/down.err"'
start=$(date +%s%N)
cli search >/dev/null 2>&1; rc=$?
spent=$(( ($(date +%s%N) - start) / 1000000 ))
check "no override, no DNS in the private network: exit 3 within 15 s ($spent ms)" holds '[ $rc = 3 ] && [ $spent -lt 15000 ]'
for mode in invalid large; do
    start_fake $mode
    cli search --directory "$DIR" >"$WORK/$mode.txt" 2>"$WORK/$mode.err"; rc=$?
    check "$mode answer: exit 3 with the reason, nothing listed" \
        holds '[ $rc = 3 ] && [ ! -s "$WORK/$mode.txt" ] && grep -q "응답" "$WORK/$mode.err" && grep -q "^GET /json/stations/search" "$WORK/fake.log"'
done
start_fake filter
for args in "--limit 0" "--limit 1001" "--country KOR" "--jobs 0" "--directory ftp://x" "a b" "--trace"; do
    cli search $args >/dev/null 2>&1
    check "usage error ($args): exit 2" [ $? = 2 ]
done
in_net env SETRADIO_DIRECTORY=ftp://x "$TOOL" search >/dev/null 2>&1
check "SETRADIO_DIRECTORY that is not http(s): exit 2" [ $? = 2 ]
cli search --directory "$DIR" -o "$WORK/no/such/dir.pls" >/dev/null 2>&1
check "-o into a missing folder: exit 4" [ $? = 4 ]

# HTTPS: nginx with a certificate of a test CA in front of the fake. The system bundle does not hold
# the CA: refused. A private mount namespace puts a bundle holding it over the system's: accepted.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=SetRadio Test CA" -keyout "$WORK/ca.key" \
    -out "$WORK/ca.crt" -addext basicConstraints=critical,CA:TRUE -addext keyUsage=keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" -keyout "$WORK/server.key" -out "$WORK/server.csr" 2>/dev/null
printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\n' >"$WORK/san.ext"
openssl x509 -req -in "$WORK/server.csr" -CA "$WORK/ca.crt" -CAkey "$WORK/ca.key" -CAcreateserial -days 2 \
    -extfile "$WORK/san.ext" -out "$WORK/server.crt" 2>/dev/null
BUNDLE=/etc/ssl/certs/ca-certificates.crt
cat "$BUNDLE" "$WORK/ca.crt" >"$WORK/bundle.crt"
sed -e "s|@DIR@|$WORK|g" -e "s|@PORT@|8443|g" -e "s|@BACKEND@|127.0.0.1:8090|g" \
    "$ROOT/tests/e2e/nginx/directory_tls.conf.in" >"$WORK/nginx.conf"
"$TESTNET" exec-tool "$NET" "$NGINX" -p "$WORK" -c "$WORK/nginx.conf" -e "$WORK/error.log" &
PIDS+=($!)
for _ in $(seq 100); do in_net ss -Htln "sport = :8443" | grep -q . && break; sleep 0.05; done
: >"$WORK/fake.log"
cli search jazz --directory https://localhost:8443 >"$WORK/tls-refused.txt" 2>"$WORK/tls-refused.err"; rc=$?
cat "$WORK/tls-refused.err"
check "HTTPS with a certificate the system does not trust: exit 3, no request reached the directory" \
    holds '[ $rc = 3 ] && grep -q "certificate" "$WORK/tls-refused.err" && [ ! -s "$WORK/fake.log" ]'
in_net unshare -m sh -c "mount --bind '$WORK/bundle.crt' '$BUNDLE' &&
    env -u SETRADIO_DIRECTORY LANG=C.UTF-8 '$TOOL' search jazz --directory https://localhost:8443 --json" >"$WORK/tls.json"; rc=$?
check "HTTPS with the test CA in the bundle: exit 0, the station listed" holds '[ $rc = 0 ] && grep -q "\"name\":\"Jazz FM\"" "$WORK/tls.json"'
check "through nginx with the User-Agent" grep -q '^GET /json/stations/search?name=jazz&.* UA=setradio-cli/' "$WORK/fake.log"
check "the system bundle outside is untouched" cmp -s "$BUNDLE" <(head -c "$(stat -c %s "$BUNDLE")" "$WORK/bundle.crt")

# setradio-cli.exe under Wine: the same search through the system's client (WinHTTP). The
# wineserver runs inside the tool namespace, on a prefix of its own.
wine_cli() {  # wine_cli ARGS...: output with LF line ends, "exit N" on stderr
    "$TESTNET" exec-tool "$NET" env -u DISPLAY SR_WINEPREFIX="$WINE_PREFIX" bash -c \
        '. "$1/scripts/wine-env.sh"; sr_wine_prefix; shift; wine "$@"; echo "exit $?" >&2' _ "$ROOT" "$EXE" "$@" | tr -d '\r'
}
EXE="$SR_BUILD/win/setradio-cli.exe"
WINE_PREFIX="$SR_BUILD/wineprefix-search"
if [ -f "$EXE" ]; then
    : >"$WORK/fake.log"
    wine_cli search --directory "$DIR" --json >"$WORK/win.json" 2>"$WORK/win.err"
    cat "$WORK/win.json" "$WORK/win.err"
    check "Windows build: exit 0, the same four stations" holds 'grep -q "^exit 0\$" "$WORK/win.err" && [ "$(wc -l <"$WORK/win.json")" = 4 ]'
    check "Windows build: the Jazz FM object byte for byte as on Linux" cmp -s <(head -1 "$WORK/win.json") <(cli search jazz --directory "$DIR" --json 2>/dev/null)
    check "Windows build: an emoji is one ?" grep -q '"title":"? Music Box"' "$WORK/win.json"
    check "Windows build: asked with its User-Agent" grep -q ' UA=setradio-cli/[0-9]' "$WORK/fake.log"
    wine_cli search --directory http://127.0.0.1:8099 >/dev/null 2>"$WORK/win-down.err"
    check "Windows build: unreachable directory, exit 3" grep -q '^exit 3$' "$WORK/win-down.err"
    "$TESTNET" exec-tool "$NET" env SR_WINEPREFIX="$WINE_PREFIX" bash -c '. "$1/scripts/wine-env.sh"; wineserver -k' _ "$ROOT" 2>/dev/null
else
    check "the Windows build is there ($EXE)" false
fi

if [ "$FAILS" = 0 ]; then echo "cli_search: PASS"; exit 0; fi
echo "cli_search: $FAILS failures"
exit 1
