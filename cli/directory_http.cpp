// directory_http.cpp: setradio-cli's HTTP client for the station directory: libcurl on Linux,
// on Windows the system's client the window uses too (webget/).
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
#include "webget/web_get.h"

// The system's client, shared with the window.
int DirectoryHttpGet(void *context, const char *url, unsigned limitMs, char *body, int capacity, int *length)
{
    DirectoryHttp *http = (DirectoryHttp *)context;
    WebGet web;
    web.userAgent = http->userAgent;
    int status = WebGetWithin(&web, url, limitMs, body, capacity, length);
    snprintf(http->error, sizeof http->error, "%s", web.error);
    return status;
}
#endif
