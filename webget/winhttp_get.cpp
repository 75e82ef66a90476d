// winhttp_get.cpp: one GET through WinHTTP with the time left re-applied before every step.
#include "webget/web_get.h"
#include "common/platform.h"
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

static int FailNow(WebGet *web, const char *what)
{
    return Fail(web, what, GetLastError() == ERROR_WINHTTP_TIMEOUT ? DIRECTORY_TIMED_OUT : DIRECTORY_UNREACHABLE);
}

// Every timeout of the request set to the time left; 0 when none is left.
static int KeepWithin(HINTERNET request, unsigned start, unsigned limitMs)
{
    unsigned spent = PlatTickCount() - start;
    if (spent >= limitMs) return 0;
    int left = (int)(limitMs - spent);
    return WinHttpSetTimeouts(request, left, left, left, left) != 0;
}

static int ReadAnswer(WebGet *web, HINTERNET request, unsigned start, unsigned limitMs, char *body, int capacity,
                      int *length)
{
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                             &status, &size, WINHTTP_NO_HEADER_INDEX))
        return FailNow(web, "WinHttpQueryHeaders");
    if (status != 200) {
        SetLastError(status);
        return Fail(web, "HTTP", DIRECTORY_HTTP_ERROR);
    }
    for (;;) {
        if (!KeepWithin(request, start, limitMs)) return DIRECTORY_TIMED_OUT;
        DWORD read = 0;
        char extra;
        int full = *length == capacity;   // one more byte tells a longer answer from an exact fit
        if (!WinHttpReadData(request, full ? &extra : body + *length, full ? 1 : (DWORD)(capacity - *length), &read))
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
    URL_COMPONENTS parts;
    ZeroBytes(&parts, (int)sizeof parts);
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = HOST_SIZE;
    parts.dwUrlPathLength = (DWORD)-1;   // the path and query point into wideUrl
    parts.dwExtraInfoLength = (DWORD)-1;
    if (!WinHttpCrackUrl(wideUrl, 0, 0, &parts) || !parts.lpszUrlPath)
        return Fail(web, "WinHttpCrackUrl", DIRECTORY_UNREACHABLE);
    // The system's proxy settings (before Windows 8.1: the default proxy configuration). Certificate
    // checks stay as the system makes them: no option here ever loosens them.
    HINTERNET session = WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session)
        session = WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session) return FailNow(web, "WinHttpOpen");
    int result;
    HINTERNET connection = WinHttpConnect(session, host, parts.nPort, 0);
    HINTERNET request = 0;
    if (!connection) {
        result = FailNow(web, "WinHttpConnect");
    } else {
        DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
        // lpszUrlPath runs on through the query (lpszExtraInfo follows it in the same text).
        request = WinHttpOpenRequest(connection, L"GET", parts.lpszUrlPath, 0, WINHTTP_NO_REFERER,
                                     WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
        if (!request) result = FailNow(web, "WinHttpOpenRequest");
        else if (!KeepWithin(request, start, limitMs)) result = DIRECTORY_TIMED_OUT;
        else if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
            result = FailNow(web, "WinHttpSendRequest");
        else if (!KeepWithin(request, start, limitMs)) result = DIRECTORY_TIMED_OUT;
        else if (!WinHttpReceiveResponse(request, 0)) result = FailNow(web, "WinHttpReceiveResponse");
        else result = ReadAnswer(web, request, start, limitMs, body, capacity, length);
    }
    if (request) WinHttpCloseHandle(request);
    if (connection) WinHttpCloseHandle(connection);
    WinHttpCloseHandle(session);
    if (result != DIRECTORY_DONE) *length = 0;
    return result;
}
