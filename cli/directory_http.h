// directory_http.h: setradio-cli's HTTP client for the station directory: libcurl on Linux, WinHTTP
// on Windows. Certificates are always verified; there is no way to turn that off.
#ifndef SETRADIO_CLI_DIRECTORY_HTTP_H
#define SETRADIO_CLI_DIRECTORY_HTTP_H

#define DIRECTORY_HTTP_ERROR_SIZE 256

struct DirectoryHttp {
    const char *userAgent;                    // "setradio-cli/VERSION"
    char error[DIRECTORY_HTTP_ERROR_SIZE];    // the last failure in the client's words ("" when none)
};

// A DirectoryNet get (context: a DirectoryHttp): GET url within limitMs into body. Answers other
// than 200, and answers longer than capacity, are refused with their DirectoryStatus.
int DirectoryHttpGet(void *context, const char *url, unsigned limitMs, char *body, int capacity, int *length);

#endif
