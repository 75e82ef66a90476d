#!/bin/bash
# program_no_route.sh: a search on a PC without a default route, with two networks.
# The tool's namespace has no default route (testnet.sh --no-default-route): a send to
# 255.255.255.255 fails there with "network unreachable". The search must pass over it at once and
# reach one radio on each link through its own broadcast address, with the window answering
# throughout (pinged with WM_NULL every 20 ms; never unanswered over 250 ms). setradio-cli's find
# passes over it too. Figures: $WORK/no-route-figures.txt.
E2E_NAME=nort
. "$(dirname "${BASH_SOURCE[0]}")/program_env.bash"
NEAR=00:1A:2B:3C:4D:41
FAR=00:1A:2B:3C:4D:42
FIGURES="$WORK/no-route-figures.txt"

start_network --no-default-route 1 1
check "the tool's namespace has no default route" bash -c "[ -z \"\$(ip -n '$NET-tool' route show default)\" ]"
start_device 0 --mac $NEAR
start_device2 0 --mac $FAR
start_program

# bench-search presses search, waits for 2 rows and pings the window all along.
drive search <<'EOF'
window 30000
bench-search 2 9000 search.txt
dump-rows 101 rows.txt
EOF
check "the driver's session" [ $? = 0 ]
last=$(sed -n 's/^last_row_ms //p' "$WORK/search.txt")
longest=$(sed -n 's/^longest_unresponsive_ms //p' "$WORK/search.txt")
echo "no-route search: far radio's row (the last of two) after ${last:-?} ms; longest unresponsive ${longest:-?} ms" |
    tee "$FIGURES"
check "the near radio is listed" grep -q "^$NEAR"$'\t' "$WORK/rows.txt"
check "the far radio is listed" grep -q "^$FAR"$'\t' "$WORK/rows.txt"
check "the rows came without the 5 s wait on the limited broadcast (${last:-?} ms)" \
    bash -c "[ -n '$last' ] && [ '$last' -lt 4000 ]"
check "the window never went over 250 ms unanswered (${longest:-?} ms)" \
    bash -c "[ -n '$longest' ] && [ '$longest' -le 250 ]"
messages
messages 2
check "FIND went to the first link's broadcast address" \
    grep -q 'from=10.77.0.1:49005 to=10.77.0.255:49006 datagrams=1 bytes=11 ' "$WORK/messages.txt"
check "FIND went to the second link's broadcast address" \
    grep -q 'from=10.78.0.1:49005 to=10.78.0.255:49006 datagrams=1 bytes=11 ' "$WORK/messages2.txt"

# The command-line program, which sends in place: it passes over the unreachable address too.
in_tool wineserver -k >/dev/null 2>&1   # the program's port 49005 is free again
wait_gone() { local i; for ((i = 0; i < 100; i++)); do in_tool ss -Hunl 'sport = :49005' | grep -q . || return 0; sleep 0.05; done; return 1; }
check "the window's port was given up" wait_gone
start=$(date +%s%N)
in_tool "$NATIVE/setradio-cli" find --wait 1 >"$WORK/cli-find.txt" 2>"$WORK/cli-find.err"
rc=$?
ms=$((($(date +%s%N) - start) / 1000000))
cat "$WORK/cli-find.txt"
echo "no-route cli find: ${ms} ms with --wait 1" | tee -a "$FIGURES"
check "cli find exits 0" [ $rc = 0 ]
check "cli find lists the near radio" grep -q "^$NEAR " "$WORK/cli-find.txt"
check "cli find lists the far radio" grep -q "^$FAR " "$WORK/cli-find.txt"
check "cli find did not wait 5 s on the limited broadcast (${ms} ms)" [ "$ms" -lt 4000 ]
finish
