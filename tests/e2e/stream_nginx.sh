#!/bin/bash
# stream_nginx.sh: the stream probe against real servers on loopback: Debian's nginx (302 redirects,
# a [playlist] file with status 200, 301, 404, a redirect loop) and the test stream server ("ICY 200 OK").
# Needs SR_BUILD=<dir with native/ built> (probe_url and stream_server); everything stays on 127.0.0.1.
set -u
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD="${SR_BUILD:?SR_BUILD must name the build folder}"
PROBE="$BUILD/native/probe_url"
SERVER="$BUILD/native/stream_server"
NGINX="$(command -v nginx || echo /usr/sbin/nginx)"
for f in "$PROBE" "$SERVER" "$NGINX"; do
    [ -x "$f" ] || { echo "FAIL: $f is missing"; exit 1; }
done

DIR="$(mktemp -d /tmp/sr-stream-nginx.XXXXXX)"
NGINX_PID=""
SERVER_PID=""
cleanup() {
    [ -n "$NGINX_PID" ] && kill "$NGINX_PID" 2>/dev/null && wait "$NGINX_PID" 2>/dev/null
    [ -n "$SERVER_PID" ] && kill "$SERVER_PID" 2>/dev/null && wait "$SERVER_PID" 2>/dev/null
    rm -rf "$DIR"
}
trap cleanup EXIT

# A free loopback port among the high ones.
free_port() {
    local p
    for _ in $(seq 50); do
        p=$((20000 + RANDOM % 30000))
        ss -Htln "sport = :$p" 2>/dev/null | grep -q . || { echo "$p"; return 0; }
    done
    return 1
}

# The stream server picks its own port and reports it.
"$SERVER" 0 "$HERE/nginx/icy_answer.txt" "$DIR/stream-requests.log" >"$DIR/stream-server.out" 2>&1 &
SERVER_PID=$!
for _ in $(seq 100); do grep -q '^ready' "$DIR/stream-server.out" && break; sleep 0.05; done
ICY_PORT=$(awk '/^ready/ {print $2}' "$DIR/stream-server.out")
[ -n "$ICY_PORT" ] || { echo "FAIL: stream server did not start"; cat "$DIR/stream-server.out"; exit 1; }

PORT=$(free_port) || { echo "FAIL: no free port"; exit 1; }
mkdir -p "$DIR/www"
for f in nginx.conf radio.pls; do
    sed -e "s|@DIR@|$DIR|g" -e "s|@PORT@|$PORT|g" -e "s|@ICY_PORT@|$ICY_PORT|g" "$HERE/nginx/$f.in" >"$DIR/$f"
done
mv "$DIR/radio.pls" "$DIR/www/radio.pls"
chmod 755 "$DIR" "$DIR/www"          # nginx's workers run as an unprivileged user
chmod 644 "$DIR/www/radio.pls"
"$NGINX" -t -q -p "$DIR" -c "$DIR/nginx.conf" -e "$DIR/error.log" || { echo "FAIL: nginx configuration"; exit 1; }
"$NGINX" -p "$DIR" -c "$DIR/nginx.conf" -e "$DIR/error.log" &
NGINX_PID=$!
for _ in $(seq 100); do ss -Htln "sport = :$PORT" | grep -q . && break; sleep 0.05; done
ss -Htln "sport = :$PORT" | grep -q . || { echo "FAIL: nginx did not listen on 127.0.0.1:$PORT"; exit 1; }
echo "nginx on 127.0.0.1:$PORT, stream server on 127.0.0.1:$ICY_PORT"

FAILS=0
expect() {  # expect RESULT PATH-ON-NGINX WHAT
    local want=$1 url="http://127.0.0.1:$PORT/$2" got
    got=$("$PROBE" "$url" | awk '{print $1}')
    if [ "$got" = "$want" ]; then echo "pass: $3 ($url -> $got)"; else echo "FAIL: $3 ($url -> $got, expected $want)"; FAILS=$((FAILS + 1)); fi
}
count() { grep -c "$1" "$2" 2>/dev/null || true; }

expect 1 start "two 302 redirects, then a [playlist] with status 200, then ICY 200 OK"
expect 1 radio.pls "playlist file served by nginx"
expect 1 direct "one 302 redirect to the stream server"
expect 0 moved "301 is not followed"
expect 0 missing.pls "404"
expect 0 loop "a redirect to itself ends after the hop limit"

# What the servers saw. The stream server logs each request before it answers; nginx logs a
# request after its answer went out, so its log is waited for: the 17 requests of the probes above
# (3 + 1 + 1 + 1 + 1 + 10), up to 10 s.
for _ in $(seq 200); do [ "$(wc -l <"$DIR/access.log")" -ge 17 ] && break; sleep 0.05; done
[ "$(wc -l <"$DIR/access.log")" -ge 17 ] || echo "waited 10 s in vain for 17 requests in nginx's access log"
STREAM_REQUESTS=$(count '^GET /live HTTP/1.0' "$DIR/stream-requests.log")
HOSTS=$(grep -c "^Host: 127.0.0.1$(printf '\r')\$" "$DIR/stream-requests.log" || true)
LOOPS=$(count '"GET /loop HTTP/1.0"' "$DIR/access.log")
AGENTS=$(count 'WinampMPEG/2.9' "$DIR/access.log")
NGINX_REQUESTS=$(wc -l <"$DIR/access.log")
echo "stream server: $STREAM_REQUESTS requests for /live, $HOSTS with Host 127.0.0.1; nginx: $NGINX_REQUESTS requests, $LOOPS for /loop"
[ "$STREAM_REQUESTS" = 3 ] || { echo "FAIL: the stream server should have seen 3 requests for /live"; FAILS=$((FAILS + 1)); }
[ "$HOSTS" = 3 ] || { echo "FAIL: every Host header should be the bare host"; FAILS=$((FAILS + 1)); }
[ "$LOOPS" = 10 ] || { echo "FAIL: the redirect loop should end after 10 hops"; FAILS=$((FAILS + 1)); }
# The "not live" answers count only when nginx itself gave the status they stand for.
for answer in '"GET /moved HTTP/1.0" 301' '"GET /missing.pls HTTP/1.0" 404'; do
    [ "$(count "$answer" "$DIR/access.log")" = 1 ] || { echo "FAIL: nginx did not log $answer"; FAILS=$((FAILS + 1)); }
done
[ -n "$NGINX_REQUESTS" ] && [ "$AGENTS" = "$NGINX_REQUESTS" ] || { echo "FAIL: every request should carry the WinampMPEG user agent"; FAILS=$((FAILS + 1)); }

if [ "$FAILS" = 0 ]; then echo "stream_nginx: PASS"; exit 0; fi
echo "stream_nginx: $FAILS failures"; tail -5 "$DIR/error.log"
exit 1
