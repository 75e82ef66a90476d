// cli_texts.h: the user texts of setradio-cli (UTF-8 source, compiled to code page 949 bytes like the
// window's texts; people's output converts them to the terminal's encoding).
#ifndef SETRADIO_CLI_CLI_TEXTS_H
#define SETRADIO_CLI_CLI_TEXTS_H

#define CLI_EXIT_CODE_HELP \
    "종료 코드:\n" \
    "  0  완료 (check: 모든 주소가 방송 중)\n" \
    "  1  방송 중이 아닌 주소가 있음 (Pls 주소 확인으로 거부된 set 포함)\n" \
    "  2  사용법 오류\n" \
    "  3  응답한 라디오가 없음, 그 MAC의 라디오가 없음, 또는 대기 시간 안에 확인이 없음\n" \
    "  4  파일을 읽거나 쓸 수 없음, 또는 설정 파일이 아님\n"

#define CLI_HELP_PROGRAM \
    "setradio-cli: Velmio 인터넷라디오를 찾고, 설정을 백업하고, 설정하고, 방송 주소를 확인합니다.\n" \
    "\n" \
    "사용법:\n" \
    "  setradio-cli find [--wait SECONDS] [--json]\n" \
    "  setradio-cli get MAC [--wait SECONDS] [-o FILE]\n" \
    "  setradio-cli set MAC FILE [--wait SECONDS] [--no-check]\n" \
    "  setradio-cli check URL... [--json] [--trace] [--jobs N]\n" \
    "  setradio-cli check --file FILE [--json] [--trace] [--jobs N]\n" \
    "  setradio-cli search [NAME] [--country CC] [--tag TAG] [--limit N] [--check] [--jobs N] [--json]\n" \
    "                      [-o FILE] [--directory URL]\n" \
    "  setradio-cli COMMAND --help\n" \
    "  setradio-cli --version\n" \
    "\n" \
    "MAC은 숫자로 읽지 않고 라디오가 알린 MacAddr 글자와 비교합니다 (대소문자와 ':' '-' '.' 무시).\n" \
    "\n" CLI_EXIT_CODE_HELP

#define CLI_HELP_FIND \
    "setradio-cli find [--wait SECONDS] [--json]\n" \
    "  FIND를 모든 네트워크로 보내고 대기 시간(기본 3초) 동안 응답한 라디오를 한 줄에 하나씩 보입니다:\n" \
    "  MAC, 펌웨어, 응답한 주소, 방식(static/DHCP/PPPoE), 라디오의 주소, 채널 수.\n" \
    "  같은 주소에서 온 같은 응답은 한 번만 보입니다.\n" \
    "  --wait SECONDS  응답을 기다리는 시간 (소수 가능)\n" \
    "  --json          한 줄에 JSON 객체 하나: mac, firmware, from, port, mode, address, channels\n" \
    "\n" CLI_EXIT_CODE_HELP

#define CLI_HELP_GET \
    "setradio-cli get MAC [--wait SECONDS] [-o FILE]\n" \
    "  그 라디오를 찾아 설정 파일을 씁니다: 창에서 그 라디오를 불러온 직후 저장한 것과 같은\n" \
    "  OpCode=SETT 글자 (라디오 자신의 MacAddr, 코드 페이지 949, CR LF). -o가 없으면 표준 출력으로.\n" \
    "  이 파일은 그대로 set에 쓸 수 있습니다.\n" \
    "  --wait SECONDS  라디오를 기다리는 시간 (기본 3초)\n" \
    "  -o FILE         쓸 파일 (있던 파일은 다 쓴 뒤에 한 번에 바뀝니다)\n" \
    "\n" CLI_EXIT_CODE_HELP

#define CLI_HELP_SET \
    "setradio-cli set MAC FILE [--wait SECONDS] [--no-check]\n" \
    "  설정 파일을 읽어 두 Pls 주소를 확인하고, 그 라디오의 MacAddr로 SETT를 만들어 보낸 뒤\n" \
    "  라디오가 응답한 주소에서 오는 SETC를 기다립니다. 확인에 실패하면 아무것도 보내지 않습니다.\n" \
    "  --wait SECONDS  라디오와 확인(SETC)을 각각 기다리는 시간 (기본 3초)\n" \
    "  --no-check      Pls 주소를 확인하지 않고 보냅니다\n" \
    "\n" CLI_EXIT_CODE_HELP

#define CLI_HELP_CHECK \
    "setradio-cli check URL... [--json] [--trace] [--jobs N]\n" \
    "setradio-cli check --file FILE [--json] [--trace] [--jobs N]\n" \
    "  각 주소가 방송 중인지 창과 같은 방법으로 병렬 확인하고, 아니면 이유를 보입니다.\n" \
    "  --file FILE  설정 파일 또는 재생목록(.pls, .m3u)의 모든 채널을 확인합니다\n" \
    "  --json       한 줄에 JSON 객체 하나: url, live, reason, http_code (HTTP 오류일 때),\n" \
    "               channel과 title (--file), hops (--trace)\n" \
    "               reason: not_http, unknown_host, refused, connect_timed_out, no_answer, http_error,\n" \
    "               http_not_icy, empty_playlist, redirect_without_location, too_many_redirects,\n" \
    "               too_long (127바이트보다 긴 주소), holds_key (설정 항목 이름 File2= 같은 글자가 든 주소나 제목)\n" \
    "               --file의 항목 중 http://가 아니거나 너무 길거나 설정 항목 이름이 든 것은 확인하지 않고\n" \
    "               방송 중 아님으로 보이며, 같은 주소는 한 번만 확인합니다. 주소가 없는 파일은 종료 코드 4.\n" \
    "  --trace      거쳐 간 단계: 연결 시간, 상태 줄, Location 또는 재생목록 항목\n" \
    "  --jobs N     동시에 확인하는 주소 수 (기본 8, 최대 64)\n" \
    "\n" CLI_EXIT_CODE_HELP

#define CLI_HELP_SEARCH \
    "setradio-cli search [NAME] [--country CC] [--tag TAG] [--limit N] [--check] [--jobs N] [--json]\n" \
    "                    [-o FILE] [--directory URL]\n" \
    "  공개 방송국 목록(radio-browser.info)에서 방송국을 찾아, 라디오가 재생할 수 있는 것만 추천 순으로\n" \
    "  한 줄에 하나씩 보입니다: 이름, 국가, 코덱, 비트레이트, 추천 수, 주소.\n" \
    "  주소는 url_resolved, 안 되면 url: http://로 시작하고 127바이트 이하여야 합니다. 그런 주소가 없거나\n" \
    "  HLS인 방송국은 빼고, 뺀 수를 표준 오류로 알립니다. 라디오에는 아무것도 보내지 않습니다.\n" \
    "  NAME            이름의 일부 (대소문자 무시)\n" \
    "  --country CC    국가 코드 두 글자 (KR, DE, ...)\n" \
    "  --tag TAG       태그 (jazz, news, ...)\n" \
    "  --limit N       목록에 요청하는 방송국 수 (기본 100, 1부터 1000까지)\n" \
    "  --check         각 주소가 방송 중인지 check와 같은 방법으로 확인해 결과와 이유를 덧붙입니다\n" \
    "  --jobs N        --check에서 동시에 확인하는 주소 수 (기본 8, 최대 64)\n" \
    "  --json          한 줄에 JSON 객체 하나: uuid, name (UTF-8 전체), title (저장될 제목), country,\n" \
    "                  codec, bitrate, votes, url, --check이면 live와 reason\n" \
    "  -o FILE         찾은 방송국을 재생목록으로 씁니다 (.m3u/.m3u8은 M3U, 그 밖은 PLS): 창의\n" \
    "                  가져오기와 check --file에 그대로 쓸 수 있습니다\n" \
    "  --directory URL 방송국 목록의 주소 (환경 변수 SETRADIO_DIRECTORY보다 우선). 주면 DNS로\n" \
    "                  서버를 찾지 않습니다. 인증서는 언제나 확인합니다.\n" \
    "\n" \
    "종료 코드:\n" \
    "  0  방송국을 보였음\n" \
    "  1  보일 방송국이 없음 (맞는 것이 없거나 모두 규칙에 따라 빠짐; --check 결과와 무관)\n" \
    "  2  사용법 오류\n" \
    "  3  방송국 목록에 연결할 수 없음, 또는 잘못된 응답\n" \
    "  4  파일을 쓸 수 없음\n"

// Errors: one line on stderr, prefixed with "setradio-cli: ".
#define CLI_ERROR_UNKNOWN_COMMAND "알 수 없는 명령입니다: "
#define CLI_ERROR_NO_COMMAND "명령이 없습니다 (setradio-cli --help)"
#define CLI_ERROR_UNKNOWN_OPTION "알 수 없는 옵션입니다: "
#define CLI_ERROR_MISSING_VALUE "옵션에 값이 없습니다: "
#define CLI_ERROR_BAD_WAIT "--wait에는 0보다 큰 초 (최대 3600)를 주세요: "
#define CLI_ERROR_BAD_JOBS "--jobs에는 1부터 64까지의 수를 주세요: "
#define CLI_ERROR_EXTRA_ARGUMENT "남는 인수입니다: "
#define CLI_ERROR_NEED_MAC "MAC 주소를 주세요"
#define CLI_ERROR_NEED_FILE "설정 파일을 주세요"
#define CLI_ERROR_NEED_URL "확인할 주소 또는 --file FILE을 주세요"
#define CLI_ERROR_URLS_AND_FILE "주소와 --file을 함께 줄 수 없습니다"
#define CLI_ERROR_BAD_LIMIT "--limit에는 1부터 1000까지의 수를 주세요: "
#define CLI_ERROR_BAD_COUNTRY "--country에는 국가 코드 두 글자를 주세요: "
#define CLI_ERROR_BAD_DIRECTORY "방송국 목록 주소는 http:// 또는 https://로 시작해야 합니다: "
#define CLI_ERROR_BAD_MAC "MAC 주소에 16진 숫자가 없습니다: "

#define CLI_ERROR_NO_SOCKET "장치 소켓을 열 수 없습니다 (포트 49005를 다른 프로그램이 쓰고 있지 않은지 확인하세요)"
#define CLI_ERROR_NO_RADIOS "응답한 라디오가 없습니다"
#define CLI_ERROR_NO_SUCH_RADIO "이 MAC의 라디오가 응답하지 않았습니다: "
#define CLI_ERROR_NO_CONFIRMATION "라디오가 대기 시간 안에 저장을 확인하지 않았습니다"
#define CLI_ERROR_READ_FILE "파일을 읽을 수 없습니다: "
#define CLI_ERROR_WRITE_FILE "파일을 쓸 수 없습니다: "
#define CLI_ERROR_FILE_TOO_LONG "파일이 너무 깁니다 (65,791바이트까지): "
#define CLI_ERROR_FILE_HAS_NUL "파일에 NUL 바이트가 있습니다: "
#define CLI_ERROR_NOT_SETTINGS "설정 파일이 아닙니다: "
#define CLI_ERROR_NOT_CHANNELS "설정 파일도 재생목록도 아닙니다: "
#define CLI_ERROR_TOO_LONG_SETT "설정이 너무 길어 한 메시지에 들어가지 않습니다: 보내지 않았습니다"
#define CLI_ERROR_NO_MEMORY "메모리가 부족합니다"
#define CLI_ERROR_PLS_EMPTY "Pls주소를 입력하세요: 파일에 값이 없습니다: "
#define CLI_ERROR_FILE_HOLDS_KEY "손상된 설정 파일입니다: 값 안에 다른 설정 항목 이름(File2= 같은)이 들어 있습니다: "
#define CLI_ERROR_VALUE_HOLDS_KEY "라디오의 값에 다른 설정 항목 이름(File2= 같은)이 들어 있어 쓰지 않았습니다. 먼저 창에서 고치세요: "
#define CLI_TEXT_CHANNEL_NAMED "%d번 채널"
#define CLI_ERROR_NO_ADDRESSES "파일에 확인할 주소가 없습니다: "
#define CLI_ERROR_PLS_NOT_LIVE "Pls 주소가 방송 중이 아니어서 보내지 않았습니다: "

#define CLI_TEXT_PLAYLIST_SKIPPED "재생목록에서 가져오지 않은 주소 (http://가 아님, 너무 김, 설정 항목 이름, 중복): "
#define CLI_TEXT_SAVED "저장되었습니다"
#define CLI_TEXT_LIVE "방송 중"
#define CLI_TEXT_NOT_LIVE "방송 중 아님"
// Why an address is not live, worded as in the window's check of every channel.
#define CLI_REASON_NOT_HTTP "http 주소가 아님"
#define CLI_REASON_UNKNOWN_HOST "서버 이름을 찾을 수 없음"
#define CLI_REASON_REFUSED "연결 거부"
#define CLI_REASON_CONNECT_TIMED_OUT "연결 시간 초과"
#define CLI_REASON_NO_ANSWER "응답 없음"
#define CLI_REASON_HTTP_ERROR "HTTP 오류 "
#define CLI_REASON_HTTP_NOT_ICY "HTTP 200, ICY 아님"
#define CLI_REASON_EMPTY_PLAYLIST "빈 재생목록"
#define CLI_REASON_NO_LOCATION "Location 없는 리디렉션"
#define CLI_REASON_TOO_MANY_REDIRECTS "리디렉션이 너무 많음"
#define CLI_REASON_TOO_LONG "주소가 127바이트보다 김"
#define CLI_REASON_HOLDS_KEY "설정 항목 이름(File2= 같은)이 들어 있음"

// search
#define CLI_ERROR_DIRECTORY_UNREACHABLE "방송국 목록 서버에 연결할 수 없습니다"
#define CLI_ERROR_DIRECTORY_TIMED_OUT "방송국 목록 서버가 제시간에 응답하지 않았습니다"
#define CLI_ERROR_DIRECTORY_HTTP "방송국 목록 서버가 오류로 응답했습니다"
#define CLI_ERROR_DIRECTORY_TOO_LARGE "방송국 목록의 응답이 너무 큽니다 (4 MB까지)"
#define CLI_ERROR_DIRECTORY_BAD_ANSWER "방송국 목록의 응답이 올바르지 않습니다"
#define CLI_TEXT_STATIONS_FOUND "찾은 방송국: "
#define CLI_TEXT_STATIONS_LEFT_OUT ", 뺀 방송국: "
#define CLI_TEXT_VOTES "추천 "
#define CLI_TEXT_PLAYLIST_WRITTEN "재생목록을 썼습니다: "

#define CLI_TEXT_CONNECTED "연결"
#define CLI_TEXT_CONNECT_FAILED "연결 실패"
#define CLI_TEXT_WRITTEN "설정 파일을 썼습니다: "

#endif
