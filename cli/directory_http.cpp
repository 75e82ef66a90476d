// directory_http.cpp: setradio-cli's HTTP client for the station directory: libcurl on Linux,
// WinHTTP on Windows (the system's proxy settings and certificate store).
#include "cli/directory_http.h"
#include "directory/directory_search.h"

#include <stdio.h>
#include <string.h>

#define REDIRECTS_MAX 3

#ifndef _WIN32
#include <curl/curl.h>

// Where the answer goes; a longer answer stops the transfer.
struct AnswerBuffer {
    char *body;
    int capacity;
    int length;
    int tooLarge;
};

static size_t TakeAnswer(char *data, size_t size, size_t count, void *context)
{
    AnswerBuffer *a = (AnswerBuffer *)context;
    size_t n = size * count;
    if (n > (size_t)(a->capacity - a->length)) {
        a->tooLarge = 1;
        return 0;   // ends the transfer with a write error
    }
    memcpy(a->body + a->length, data, n);
    a->length += (int)n;
    return n;
}

int DirectoryHttpGet(void *context, const char *url, unsigned limitMs, char *body, int capacity, int *length)
{
    DirectoryHttp *http = (DirectoryHttp *)context;
    http->error[0] = 0;
    *length = 0;
    CURL *curl = curl_easy_init();
    if (!curl) return DIRECTORY_UNREACHABLE;
    AnswerBuffer answer = {body, capacity, 0, 0};
    char error[CURL_ERROR_SIZE];
    error[0] = 0;
    curl_easy_setopt(curl, CURLOPT_URL, url);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, http->userAgent);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, (long)(limitMs ? limitMs : 1));
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, (long)REDIRECTS_MAX);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, (curl_off_t)capacity);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, TakeAnswer);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);

    int result = DIRECTORY_DONE;
    if (answer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) result = DIRECTORY_TOO_LARGE;
    else if (code == CURLE_OPERATION_TIMEDOUT) result = DIRECTORY_TIMED_OUT;
    else if (code != CURLE_OK) result = DIRECTORY_UNREACHABLE;
    else if (status != 200) result = DIRECTORY_HTTP_ERROR;
    if (result == DIRECTORY_HTTP_ERROR) snprintf(http->error, sizeof http->error, "HTTP %ld", status);
    else if (result != DIRECTORY_DONE)
        snprintf(http->error, sizeof http->error, "%s", error[0] ? error : curl_easy_strerror(code));
    if (result == DIRECTORY_DONE) *length = answer.length;
    return result;
}

#else
#include <windows.h>
#include <winhttp.h>

#include <vector>

#ifndef WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY
#define WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY 4
#endif

// A UTF-8 or ANSI text as UTF-16.
static std::vector<wchar_t> Wide(const char *text, UINT codePage)
{
    int n = MultiByteToWideChar(codePage, 0, text, -1, 0, 0);
    std::vector<wchar_t> out((size_t)(n > 0 ? n : 1), 0);
    if (n > 0) MultiByteToWideChar(codePage, 0, text, -1, out.data(), n);
    return out;
}

static int Fail(DirectoryHttp *http, const char *what, int status)
{
    snprintf(http->error, sizeof http->error, "%s (%lu)", what, (unsigned long)GetLastError());
    return status;
}

// WinHTTP's failure as a DirectoryStatus.
static int FailureStatus(DirectoryHttp *http, const char *what)
{
    return Fail(http, what, GetLastError() == ERROR_WINHTTP_TIMEOUT ? DIRECTORY_TIMED_OUT : DIRECTORY_UNREACHABLE);
}

// Reads the answer of an open request into body; DIRECTORY_DONE, or why not.
static int ReadAnswer(DirectoryHttp *http, HINTERNET request, char *body, int capacity, int *length)
{
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                             &status, &size, WINHTTP_NO_HEADER_INDEX))
        return FailureStatus(http, "WinHttpQueryHeaders");
    if (status != 200) {
        snprintf(http->error, sizeof http->error, "HTTP %lu", (unsigned long)status);
        return DIRECTORY_HTTP_ERROR;
    }
    for (;;) {
        DWORD read = 0;
        if (*length == capacity) {
            char extra;
            if (!WinHttpReadData(request, &extra, 1, &read)) return FailureStatus(http, "WinHttpReadData");
            if (read) return DIRECTORY_TOO_LARGE;
            return DIRECTORY_DONE;
        }
        if (!WinHttpReadData(request, body + *length, (DWORD)(capacity - *length), &read))
            return FailureStatus(http, "WinHttpReadData");
        if (!read) return DIRECTORY_DONE;
        *length += (int)read;
    }
}

int DirectoryHttpGet(void *context, const char *url, unsigned limitMs, char *body, int capacity, int *length)
{
    DirectoryHttp *http = (DirectoryHttp *)context;
    http->error[0] = 0;
    *length = 0;
    std::vector<wchar_t> wideUrl = Wide(url, CP_UTF8);
    wchar_t host[256], path[2048];
    URL_COMPONENTS parts;
    memset(&parts, 0, sizeof parts);
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host / sizeof host[0];
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path / sizeof path[0];
    if (!WinHttpCrackUrl(wideUrl.data(), 0, 0, &parts)) return Fail(http, "WinHttpCrackUrl", DIRECTORY_UNREACHABLE);
    // The system's proxy settings; WinHTTP verifies certificates unless told otherwise, which it never is.
    HINTERNET session = WinHttpOpen(Wide(http->userAgent, CP_ACP).data(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                    WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session)   // before Windows 8.1: the default proxy configuration
        session = WinHttpOpen(Wide(http->userAgent, CP_ACP).data(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                              WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session) return Fail(http, "WinHttpOpen", DIRECTORY_UNREACHABLE);
    int each = (int)(limitMs ? limitMs : 1);
    WinHttpSetTimeouts(session, each, each, each, each);
    int result = DIRECTORY_UNREACHABLE;
    HINTERNET connection = WinHttpConnect(session, host, parts.nPort, 0);
    HINTERNET request = 0;
    if (!connection) result = FailureStatus(http, "WinHttpConnect");
    else {
        DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
        request = WinHttpOpenRequest(connection, L"GET", path, 0, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
        if (!request) result = FailureStatus(http, "WinHttpOpenRequest");
        else if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
                 !WinHttpReceiveResponse(request, 0))
            result = FailureStatus(http, "WinHttpSendRequest");
        else
            result = ReadAnswer(http, request, body, capacity, length);
    }
    if (request) WinHttpCloseHandle(request);
    if (connection) WinHttpCloseHandle(connection);
    WinHttpCloseHandle(session);
    if (result != DIRECTORY_DONE) *length = 0;
    return result;
}
#endif
