#!/bin/bash
# program_cp1252.sh: the real program on a Western Windows (locale C.UTF-8, ANSI code page 1252).
# The window shows a radio's code page 949 titles as Korean, takes channels typed in Korean,
# refuses a character 949 cannot hold, saves and opens a settings file in a folder that neither
# 949 nor 1252 can spell, and sends: the radio stores the same 949 bytes as under code page 949.
E2E_NAME=u18cp
SR_WINE_LANG=C.UTF-8
SR_E2E_WINEPREFIX="${SR_E2E_WINEPREFIX_CP1252:-$SR_BUILD/e2e-wine-cp1252}"
export SR_WINE_LANG SR_E2E_WINEPREFIX
. "$(dirname "${BASH_SOURCE[0]}")/program_env.bash"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
cp949() { printf '%s' "$1" | iconv -f UTF-8 -t CP949; }
FOLDER="$WORK/ไทย한"
mkdir -p "$FOLDER"
SETTINGS="$FOLDER/설정.txt"

start_network 1
start_device 0 --mac 00:1A:2B:3C:4D:71 --channels 3 --title-pattern "$(cp949 '채널 %n')" --dhcp 0 --state "$WORK/state-a"
start_program

drive session <<EOF
window 30000
expect-code-page 1252
expect-text 100 "라디오검색"
expect-text 111 "채널추가"
press 100
expect-rows 101 1 8000
click-row 101 0
expect-rows 110 3
expect-cell 110 2 1 "채널 3"
# A channel typed in Korean, a changed title, one deleted.
settext 114 "한국 방송"
settext 115 $LIVE/kr
press 111
no-box 500
expect-rows 110 4
expect-cell 110 3 1 "한국 방송"
click-row 110 0
expect-text 114 "채널 1"
settext 114 "첫 채널"
press 112
expect-cell 110 0 1 "첫 채널"
click-row 110 1
press 113
box OK "선택한 채널을 삭제합니다"
expect-rows 110 3
# An emoji no radio can hold is refused, naming the field; nothing changes.
settext 114 "라디오 📻"
press 111
box OK "채널이름에 라디오가 쓸 수 없는 문자가 있습니다 (이모지나 KS X 1001에 없는 문자). 그 문자를 지우고 다시 하세요"
expect-rows 110 3
settext 114 ""
# Save, spoil the list, open the file again, then send.
press 2002
file-dialog $(winpath "$SETTINGS")
no-box 500
press 116
box OK "모든 채널을 삭제합니다"
expect-rows 110 0
press 2001
file-dialog $(winpath "$SETTINGS")
box OK "저장하지 않은 변경 내용이 있습니다. 파일의 설정으로 바꾸시겠습니까?"
expect-rows 110 3
expect-cell 110 2 1 "한국 방송"
dump-sett sett-form.txt
press 117
box OK "변경내용을 적용합니다"
box OK "저장되었습니다" 10000
close
expect-gone 10000
EOF
check "the session under code page 1252" [ $? = 0 ]
check "the settings file was written in the Thai and Korean folder" need "$SETTINGS"
check "the radio stored exactly the form's SETT" cmp "$WORK/state-a.0" "$WORK/sett-form.txt"
check "which is the saved file with the radio's MacAddr" cmp "$SETTINGS" "$WORK/state-a.0"
check "the Korean titles went out in code page 949" \
    grep -q "$(printf 'Title1=%s\r' "$(cp949 '첫 채널')")" "$WORK/state-a.0"
check "the typed title too" grep -q "$(printf 'Title3=%s\r' "$(cp949 '한국 방송')")" "$WORK/state-a.0"
finish
