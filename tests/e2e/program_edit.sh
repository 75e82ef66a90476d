#!/bin/bash
# program_edit.sh: the real program's form and channel editor, driven like a person in a test network.
# Static, DHCP and PPPoE show and enable the right fields; adding a live URL asks nothing, a dead one
# asks (Cancel changes nothing, OK adds); delete, Delete key, delete all, drag and Alt+arrows reorder;
# with unsaved changes, clicking another device does not reload and closing asks.
E2E_NAME=h6ed
. "$(dirname "${BASH_SOURCE[0]}")/program_env.bash"

start_network 2
start_device 0 --mac 00:1A:2B:3C:4D:11 --channels 3 --title-pattern "First %n" --dhcp 0 --local-ip 10.77.0.11
start_device 1 --mac 00:1A:2B:3C:4D:12 --channels 2 --title-pattern "Other %n" --dhcp 1 --delay 200
start_program

NOT_LIVE="방송중이 아니거나 정확한 방송주소가 아닙니다. 계속 하시겠습니까?"
drive edit <<EOF
window 30000
# At start: DHCP checked, no device chosen, so everything that needs one is disabled.
expect-checked 91 1
expect-visible 104 1
expect-visible 124 0
expect-enabled 104 0
expect-enabled 117 0
expect-enabled 110 0
expect-enabled 111 0
expect-enabled 108 0
expect-enabled 109 0
press 100
expect-rows 101 2 8000
click-row 101 0
expect-checked 90 1
expect-text 104 10.77.0.11
expect-text 105 255.255.255.0
expect-text 108 $LIVE/pls1
expect-rows 110 3
expect-cell 110 2 1 "First 3"
# Static: the four address edits are enabled.
expect-enabled 104 1
expect-enabled 105 1
expect-enabled 106 1
expect-enabled 107 1
expect-enabled 117 1
expect-enabled 110 1
expect-enabled 108 1
expect-enabled 109 1
# DHCP: shown but disabled.
radio 91
expect-visible 104 1
expect-enabled 104 0
expect-enabled 107 0
# PPPoE: the address set hidden, ID and Psw shown in their place and enabled.
radio 92
expect-visible 104 0
expect-visible 105 0
expect-visible 106 0
expect-visible 107 0
expect-visible 119 0
expect-visible 122 0
expect-visible 123 1
expect-visible 124 1
expect-visible 125 1
expect-visible 126 1
expect-enabled 124 1
expect-enabled 126 1
radio 90
expect-visible 104 1
expect-visible 124 0
expect-enabled 104 1
# A click on empty space disables the device controls and keeps the texts.
click-empty 101
expect-enabled 117 0
expect-enabled 110 0
expect-text 104 10.77.0.11
click-row 101 0
expect-enabled 117 1
# Adding a live URL asks nothing, appends row 4 and empties the edits.
settext 114 "Live one"
settext 115 $LIVE/live
press 111
no-box 1500
expect-rows 110 4
expect-cell 110 3 0 4.
expect-cell 110 3 1 "Live one"
expect-cell 110 3 2 $LIVE/live
expect-text 114 ""
expect-text 115 ""
# A dead URL asks; Cancel changes nothing, OK adds.
settext 114 Dead
settext 115 $DEAD/dead
press 111
box-contains CANCEL "$NOT_LIVE"
expect-rows 110 4
expect-text 114 Dead
press 111
box-contains OK "$NOT_LIVE"
expect-rows 110 5
expect-cell 110 4 1 Dead
expect-cell 110 4 2 $DEAD/dead
# Unsaved changes: clicking the other device selects it but does not reload.
click-row 101 1
expect-selected 101 1
expect-rows 110 5
expect-cell 110 0 1 "First 1"
expect-checked 90 1
# Clicking a channel copies it into the edits; delete asks first.
click-row 110 1
expect-text 114 "First 2"
expect-text 115 $LIVE/ch2
press 113
box CANCEL "선택한 채널을 삭제합니다"
expect-rows 110 5
key 110 46
box OK "선택한 채널을 삭제합니다"
expect-rows 110 4
expect-cell 110 1 1 "First 3"
expect-cell 110 3 0 4.
expect-selected 110 1
# Rows now: First 1, First 3, Live one, Dead. Drag the first onto the fourth.
drag-row 110 0 3
expect-cell 110 0 1 "First 3"
expect-cell 110 1 1 "Live one"
expect-cell 110 2 1 Dead
expect-cell 110 3 1 "First 1"
expect-cell 110 3 2 $LIVE/ch1
expect-cell 110 0 0 1.
expect-cell 110 3 0 4.
expect-selected 110 3
alt-key 110 up
expect-cell 110 2 1 "First 1"
expect-cell 110 3 1 Dead
expect-selected 110 2
alt-key 110 down
expect-cell 110 3 1 "First 1"
alt-key 110 down
expect-cell 110 3 1 "First 1"
expect-selected 110 3
# Delete all asks; then delete with nothing selected is refused.
press 116
box CANCEL "모든 채널을 삭제합니다"
expect-rows 110 4
press 116
box OK "모든 채널을 삭제합니다"
expect-rows 110 0
press 113
box OK "먼저 삭제할 채널를 선택하세요"
press 112
box OK "먼저 수정할 채널를 선택하세요"
# Closing with unsaved changes asks; Cancel keeps the window, OK closes it.
close
box CANCEL "변경된 내용이 있습니다. 종료하시겠습니까?"
expect-rows 101 2
close
box OK "변경된 내용이 있습니다. 종료하시겠습니까?"
expect-gone 10000
EOF
check "the form and channel editor session" [ $? = 0 ]
check "the settings file keeps the column widths" grep -q '^SetRadio110=' "$WORK/SetRadio.ini"
check "the live address was asked for by the probe" grep -q "GET /live" "$WORK/stream-requests.log"
finish
