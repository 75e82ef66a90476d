// texts.h: every Korean text the user sees, in UTF-8 source.
// The Windows build compiles with -fexec-charset=CP949: the program keeps these as code page 949 bytes,
// as it keeps the radios' texts, and the window receives them in UTF-16 converted from 949.
#ifndef SETRADIO_UI_TEXTS_H
#define SETRADIO_UI_TEXTS_H

// Dialog template 6 (the resource script includes this header).
#define TEXT_MAIN_CAPTION "인터넷라디오 채널등록"
#define TEXT_SEARCH_BUTTON "라디오검색"
#define TEXT_PLS_URL1_LABEL "Pls주소1"
#define TEXT_PLS_URL2_LABEL "Pls주소2"
#define TEXT_CHANNEL_LIST_LABEL "사용자채널목록"
#define TEXT_CHANNEL_NAME_LABEL "채널이름"
#define TEXT_SERVER_URL_LABEL "서버URL"
#define TEXT_CHANNEL_ADD_BUTTON "채널추가"
#define TEXT_CHANNEL_MODIFY_BUTTON "채널수정"
#define TEXT_CHANNEL_DELETE_BUTTON "채널삭제"
#define TEXT_CHANNEL_DELETE_ALL_BUTTON "전체삭제"
#define TEXT_SEND_BUTTON "전송"
#define TEXT_CLOSE_BUTTON "닫기"
#define TEXT_FONT_GULIM "굴림"

// Start-up.
#define TEXT_WINSOCK_FAILED "WinSock을 초기화할 수 없습니다\n네트웍 설정(TCP/IP)을 점검하세요"

// Main window.
#define TEXT_CONFIRM_QUIT "변경된 내용이 있습니다. 종료하시겠습니까?"
#define TEXT_COLUMN_NUMBER "번호"
#define TEXT_COLUMN_TITLE "타이틀"
#define TEXT_COLUMN_SERVER "서버주소"

// Device search and settings transfer.
#define TEXT_SAVED "저장되었습니다"
#define TEXT_SELECT_DEVICE "Velmio를 선택해야 합니다"
#define TEXT_ENTER_PLS "Pls주소를 입력하세요"
#define TEXT_CONFIRM_APPLY "변경내용을 적용합니다"
#define TEXT_REPLIES_DROPPED "응답한 장치가 너무 많아 일부를 목록에 넣지 못했습니다. 다시 검색하면 목록을 새로 채웁니다"
#define TEXT_SETT_TOO_LONG "채널 목록이 너무 길어 설정을 보낼 수 없습니다. 채널 수를 줄이세요"

// Fields that code page 949 cannot hold ("%s": the field's name): nothing is sent or saved.
#define TEXT_FIELD_NOT_949 "%s에 라디오가 쓸 수 없는 문자가 있습니다 (이모지나 KS X 1001에 없는 문자). 그 문자를 지우고 다시 하세요"
#define TEXT_FIELD_LOCALIP "Local IP"
#define TEXT_FIELD_SUBNET "Subnet"
#define TEXT_FIELD_GATEWAY "Gateway"
#define TEXT_FIELD_DNS "DNS"
#define TEXT_FIELD_PPPOE_ID "PPPoE ID"
#define TEXT_FIELD_PPPOE_PSW "PPPoE 암호"

// Channel list editor.
#define TEXT_ENTER_CHANNEL_NAME "채널이름을 입력하세요"
#define TEXT_ENTER_SERVER_URL "방송서버URL을 입력하세요"
#define TEXT_SELECT_CHANNEL_TO_MODIFY "먼저 수정할 채널를 선택하세요"
#define TEXT_SELECT_CHANNEL_TO_DELETE "먼저 삭제할 채널를 선택하세요"
#define TEXT_CONFIRM_DELETE "선택한 채널을 삭제합니다"
#define TEXT_CONFIRM_DELETE_ALL "모든 채널을 삭제합니다"

// Settings files and playlists: commands, file dialogs, questions and reports.
#define TEXT_MENU_OPEN_SETTINGS "설정 파일 열기…\tCtrl+O"
#define TEXT_MENU_SAVE_SETTINGS "설정 파일로 저장…\tCtrl+S"
#define TEXT_MENU_IMPORT_PLAYLIST "재생목록 가져오기…\tCtrl+I"
#define TEXT_MENU_EXPORT_PLAYLIST "재생목록 내보내기…\tCtrl+E"
// File dialog filters: name and pattern pairs, each ended by a NUL.
#define TEXT_FILE_FILTERS "설정 파일 (*.txt)\0*.txt\0재생목록 (*.pls;*.m3u;*.m3u8)\0*.pls;*.m3u;*.m3u8\0모든 파일 (*.*)\0*.*\0"
#define TEXT_CONFIRM_REPLACE_CHANGES "저장하지 않은 변경 내용이 있습니다. 파일의 설정으로 바꾸시겠습니까?"
// Reports about one file: "'%s'" (the file's path) then a line feed, then one of these texts.
#define TEXT_FILE_NOT_RECOGNIZED "설정 파일이나 재생목록이 아닙니다"
#define TEXT_FILE_TOO_LARGE "파일이 너무 큽니다 (65,791바이트까지 읽을 수 있습니다)"
#define TEXT_FILE_NOT_TEXT "텍스트 파일이 아닙니다 (NUL 문자가 있습니다)"
#define TEXT_FILE_READ_FAILED "파일을 읽을 수 없습니다"
#define TEXT_FILE_WRITE_FAILED "파일을 저장할 수 없습니다. 원래 파일은 그대로 있습니다"
// A value holding a key's text ("File2=" and the like) would change another channel when read back.
#define TEXT_FILE_HOLDS_KEY "손상된 설정 파일입니다: 값 안에 다른 설정 항목 이름(File2= 같은)이 들어 있어 열지 않았습니다"
#define TEXT_CHANNEL_HOLDS_KEY "채널이름과 서버URL에는 설정 항목 이름(File2=, Title2= 같은)을 넣을 수 없습니다"
// "%s": the channel (TEXT_CHANNEL_NAMED) or the field's key.
#define TEXT_VALUE_HOLDS_KEY "%s에 다른 설정 항목 이름(File2= 같은)이 들어 있어 저장하거나 보내지 않았습니다. 먼저 고치세요"
#define TEXT_CHANNEL_NAMED "%d번 채널"
#define TEXT_SETTINGS_TOO_LONG_TO_SAVE "채널 목록이 너무 길어 설정을 저장할 수 없습니다. 채널 수를 줄이세요"
// Import report: "%d" channels added, "%d" skipped; then one line per reason shown ("%s": the address).
#define TEXT_IMPORT_RESULT "채널 %d개를 추가했습니다. 건너뛴 주소: %d개"
#define TEXT_IMPORT_SKIP_TOO_LONG "주소가 127바이트보다 깁니다: %s"
#define TEXT_IMPORT_SKIP_NOT_HTTP "http:// 주소가 아닙니다: %s"
#define TEXT_IMPORT_SKIP_DUPLICATE "이미 목록에 있는 주소입니다: %s"
#define TEXT_IMPORT_SKIP_HOLDS_KEY "주소나 제목에 설정 항목 이름(File2= 같은)이 들어 있습니다: %s"
#define TEXT_IMPORT_STOPPED "채널 목록이 가득 차서 가져오기를 멈췄습니다"

// Stream address check: "'%s'" then a line feed, then this text.
#define TEXT_STREAM_NOT_LIVE "방송중이 아니거나 정확한 방송주소가 아닙니다. 계속 하시겠습니까?"

// Check of every channel (F5). The result box: the head and the count, one line per channel that
// is not live ("3. title - reason"), after 15 lines "외 N개", then the question. Channels that
// answer HTTP 200 but not as ICY are kept: when there are any, they have their own head and note,
// the others theirs and the question names them; with only those, the box is an OK box.
#define TEXT_MENU_CHECK_ALL "전체 채널 확인\tF5"
#define TEXT_MENU_CHECK_STOP "채널 확인 중지\tF5"
#define TEXT_CHECK_NO_CHANNELS "확인할 채널이 없습니다"
#define TEXT_CHECK_WHILE_SEARCHING "라디오검색이 끝난 뒤에 채널을 확인하세요"
#define TEXT_CHECK_CANNOT_START "채널 확인을 시작할 수 없습니다"
#define TEXT_CHECK_ALL_LIVE "모든 채널이 방송중입니다"
#define TEXT_CHECK_NOT_LIVE_HEAD "방송중이 아닌 채널: "
#define TEXT_CHECK_COUNT_UNIT "개"
#define TEXT_CHECK_MORE "외 "
#define TEXT_CHECK_DELETE_QUESTION "이 채널들을 목록에서 삭제하시겠습니까?"
#define TEXT_CHECK_NO_STREAM_HEAD "스트림이 없는 채널: "
#define TEXT_CHECK_NOT_ICY_HEAD "응답은 하지만 ICY가 아닌 채널: "
#define TEXT_CHECK_NOT_ICY_KEPT "이 채널들은 라디오가 재생할 수도 있어 목록에 남겨 둡니다."
#define TEXT_CHECK_DELETE_NO_STREAM_QUESTION "스트림이 없는 채널들을 목록에서 삭제하시겠습니까?"
// A file dropped on the window while every channel is checked.
#define TEXT_DROP_DURING_CHECK "채널을 확인하는 동안에는 파일을 열 수 없습니다. 확인이 끝난 뒤에 다시 놓으세요"
// Why a channel is not live, in the order of the probe's reasons (the first is "live").
#define TEXT_REASON_LIVE "방송중"
#define TEXT_REASON_NOT_HTTP "http 주소가 아님"
#define TEXT_REASON_UNKNOWN_HOST "서버 이름을 찾을 수 없음"
#define TEXT_REASON_REFUSED "연결 거부"
#define TEXT_REASON_CONNECT_TIMED_OUT "연결 시간 초과"
#define TEXT_REASON_NO_ANSWER "응답 없음"
#define TEXT_REASON_HTTP_ERROR "HTTP 오류 "
#define TEXT_REASON_HTTP_NOT_ICY "HTTP 200, ICY 아님"
#define TEXT_REASON_EMPTY_PLAYLIST "빈 재생목록"
#define TEXT_REASON_NO_LOCATION "Location 없는 리디렉션"
#define TEXT_REASON_TOO_MANY_REDIRECTS "리디렉션이 너무 많음"

// Station directory search (방송국 찾기): the dialog, its status line and its questions.
#define TEXT_MENU_FIND_STATIONS "방송국 찾기…\tCtrl+F"
#define TEXT_FIND_CAPTION "방송국 찾기"
#define TEXT_FIND_NAME_LABEL "이름"
#define TEXT_FIND_COUNTRY_LABEL "국가"
#define TEXT_FIND_TAG_LABEL "태그"
#define TEXT_FIND_SEARCH_BUTTON "검색"
#define TEXT_FIND_ADD_BUTTON "추가"
#define TEXT_FIND_REPLACE_BUTTON "바꾸기"
#define TEXT_MENU_FIND_OTHER_ADDRESS "다른 주소 찾기…"
#define TEXT_FIND_COLUMN_CODEC "코덱"
#define TEXT_FIND_COLUMN_BITRATE "비트레이트"
#define TEXT_FIND_COLUMN_VOTES "추천"
#define TEXT_FIND_COLUMN_STATE "상태"
#define TEXT_FIND_COLUMN_ADDRESS "주소"
#define TEXT_FIND_SEARCHING "검색하는 중입니다…"
// "%d" stations listed, "%d" left out (https only, HLS, too long an address).
#define TEXT_FIND_FOUND "방송국 %d개를 찾았습니다 (재생할 수 없어 뺀 방송국 %d개)"
#define TEXT_FIND_UNREACHABLE "방송국 목록 서버에 연결할 수 없습니다"
#define TEXT_FIND_BAD_ANSWER "방송국 목록 서버의 응답이 잘못되었습니다"
#define TEXT_FIND_TIMED_OUT "방송국 목록 서버가 제시간에 응답하지 않았습니다"
#define TEXT_FIND_CANNOT_START "검색을 시작할 수 없습니다"
#define TEXT_FIND_CHECKING "확인 중"
// The question before adding stations with no stream behind them or not yet checked; the ones that
// answer but not as ICY are named under their own head and added either way.
#define TEXT_FIND_NOT_CHECKED_HEAD "아직 확인하지 않은 방송국: "
#define TEXT_FIND_ADD_ANYWAY_QUESTION "이 방송국들도 추가하시겠습니까?"
#define TEXT_FIND_NOT_ICY_ADDED "이 방송국들은 라디오가 재생할 수도 있어 추가합니다."
#define TEXT_FIND_NOT_ICY_REPLACED "이 방송국은 라디오가 재생할 수도 있어 주소를 바꿉니다."
#define TEXT_FIND_REPLACE_ANYWAY_QUESTION "이 방송국의 주소로 바꾸시겠습니까?"

#endif
