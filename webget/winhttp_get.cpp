// winhttp_get.cpp: one GET through WinHTTP with the time left re-applied before every step.
#include "webget/web_get.h"
#include "common/platform.h"
#include "common/system_library.h"
#include "common/text.h"
#include "directory/directory_search.h"

#include <winhttp.h>

#ifndef WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY
#define WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY 4
#endif
#define AGENT_SIZE 64
#define HOST_SIZE 256

// "what code" into the WebGet's error text.
static int Fail(WebGet *web, const char *what, int status)
{
    char code[16];
    FormatDecimal(code, sizeof code, (int)GetLastError());
    TextBuilder b;
    BuilderInit(&b, web->error, sizeof web->error);
    BuilderAppend(&b, what);
    BuilderAppend(&b, " ");
    BuilderAppend(&b, code);
    return status;
}

// WinHTTP's functions, loaded with the first request rather than when the program starts.
struct WinHttpCalls {
    decltype(&WinHttpSetTimeouts) SetTimeouts;
    decltype(&WinHttpQueryHeaders) QueryHeaders;
    decltype(&WinHttpReadData) ReadData;
    decltype(&WinHttpCrackUrl) CrackUrl;
    decltype(&WinHttpOpen) Open;
    decltype(&WinHttpConnect) Connect;
    decltype(&WinHttpOpenRequest) OpenRequest;
    decltype(&WinHttpSendRequest) SendRequest;
    decltype(&WinHttpReceiveResponse) ReceiveResponse;
    decltype(&WinHttpCloseHandle) CloseHandle;
};

// 1 when every one was found.
static int LoadWinHttp(WinHttpCalls *http)
{
    http->SetTimeouts = SYSTEM_CALL(L"winhttp.dll", WinHttpSetTimeouts);
    http->QueryHeaders = SYSTEM_CALL(L"winhttp.dll", WinHttpQueryHeaders);
    http->ReadData = SYSTEM_CALL(L"winhttp.dll", WinHttpReadData);
    http->CrackUrl = SYSTEM_CALL(L"winhttp.dll", WinHttpCrackUrl);
    http->Open = SYSTEM_CALL(L"winhttp.dll", WinHttpOpen);
    http->Connect = SYSTEM_CALL(L"winhttp.dll", WinHttpConnect);
    http->OpenRequest = SYSTEM_CALL(L"winhttp.dll", WinHttpOpenRequest);
    http->SendRequest = SYSTEM_CALL(L"winhttp.dll", WinHttpSendRequest);
    http->ReceiveResponse = SYSTEM_CALL(L"winhttp.dll", WinHttpReceiveResponse);
    http->CloseHandle = SYSTEM_CALL(L"winhttp.dll", WinHttpCloseHandle);
    return http->SetTimeouts && http->QueryHeaders && http->ReadData && http->CrackUrl &&
           http->Open && http->Connect && http->OpenRequest && http->SendRequest && http->ReceiveResponse && http->CloseHandle;
}

static int FailNow(WebGet *web, const char *what)
{
    return Fail(web, what, GetLastError() == ERROR_WINHTTP_TIMEOUT ? DIRECTORY_TIMED_OUT : DIRECTORY_UNREACHABLE);
}

// Every timeout of the request set to the time left; 0 when none is left.
static int KeepWithin(const WinHttpCalls *http, HINTERNET request, unsigned start, unsigned limitMs)
{
    unsigned spent = PlatTickCount() - start;
    if (spent >= limitMs) return 0;
    int left = (int)(limitMs - spent);
    return http->SetTimeouts(request, left, left, left, left) != 0;
}

static int ReadAnswer(const WinHttpCalls *http, WebGet *web, HINTERNET request, unsigned start, unsigned limitMs, char *body, int capacity,
                      int *length)
{
    DWORD status = 0, size = sizeof status;
    if (!http->QueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                             &status, &size, WINHTTP_NO_HEADER_INDEX))
        return FailNow(web, "WinHttpQueryHeaders");
    if (status != 200) {
        SetLastError(status);
        return Fail(web, "HTTP", DIRECTORY_HTTP_ERROR);
    }
    for (;;) {
        if (!KeepWithin(http, request, start, limitMs)) return DIRECTORY_TIMED_OUT;
        DWORD read = 0;
        char extra;
        int full = *length == capacity;   // one more byte tells a longer answer from an exact fit
        if (!http->ReadData(request, full ? &extra : body + *length, full ? 1 : (DWORD)(capacity - *length), &read))
            return FailNow(web, "WinHttpReadData");
        if (!read) return DIRECTORY_DONE;
        if (full) return DIRECTORY_TOO_LARGE;
        *length += (int)read;
    }
}

int WebGetWithin(void *context, const char *url, unsigned limitMs, char *body, int capacity, int *length)
{
    WebGet *web = (WebGet *)context;
    unsigned start = PlatTickCount();
    web->error[0] = 0;
    *length = 0;
    WCHAR wideUrl[DIRECTORY_URL_SIZE], agent[AGENT_SIZE], host[HOST_SIZE];
    if (MultiByteToWideChar(CP_UTF8, 0, url, -1, wideUrl, DIRECTORY_URL_SIZE) <= 0 ||
        MultiByteToWideChar(CP_ACP, 0, web->userAgent, -1, agent, AGENT_SIZE) <= 0)
        return Fail(web, "MultiByteToWideChar", DIRECTORY_UNREACHABLE);
    WinHttpCalls http;
    if (!LoadWinHttp(&http)) return Fail(web, "winhttp.dll", DIRECTORY_UNREACHABLE);
    URL_COMPONENTS parts;
    ZeroBytes(&parts, (int)sizeof parts);
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = HOST_SIZE;
    parts.dwUrlPathLength = (DWORD)-1;   // the path and query point into wideUrl
    parts.dwExtraInfoLength = (DWORD)-1;
    if (!http.CrackUrl(wideUrl, 0, 0, &parts) || !parts.lpszUrlPath)
        return Fail(web, "WinHttpCrackUrl", DIRECTORY_UNREACHABLE);
    // The system's proxy settings (before Windows 8.1: the default proxy configuration). Certificate
    // checks stay as the system makes them: no option here ever loosens them.
    HINTERNET session = http.Open(agent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session)
        session = http.Open(agent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session) return FailNow(web, "WinHttpOpen");
    int result;
    HINTERNET connection = http.Connect(session, host, parts.nPort, 0);
    HINTERNET request = 0;
    if (!connection) {
        result = FailNow(web, "WinHttpConnect");
    } else {
        DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
        // lpszUrlPath runs on through the query (lpszExtraInfo follows it in the same text).
        request = http.OpenRequest(connection, L"GET", parts.lpszUrlPath, 0, WINHTTP_NO_REFERER,
                                     WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
        if (!request) result = FailNow(web, "WinHttpOpenRequest");
        else if (!KeepWithin(&http, request, start, limitMs)) result = DIRECTORY_TIMED_OUT;
        else if (!http.SendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
            result = FailNow(web, "WinHttpSendRequest");
        else if (!KeepWithin(&http, request, start, limitMs)) result = DIRECTORY_TIMED_OUT;
        else if (!http.ReceiveResponse(request, 0)) result = FailNow(web, "WinHttpReceiveResponse");
        else result = ReadAnswer(&http, web, request, start, limitMs, body, capacity, length);
    }
    if (request) http.CloseHandle(request);
    if (connection) http.CloseHandle(connection);
    http.CloseHandle(session);
    if (result != DIRECTORY_DONE) *length = 0;
    return result;
}
