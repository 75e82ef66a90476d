// web_get.h: one HTTP or HTTPS GET through the system's own client (WinHTTP): certificates verified
// by the system, its proxy settings used. No C run-time: SetRadio.exe and setradio-cli.exe share it.
#ifndef SETRADIO_WEBGET_WEB_GET_H
#define SETRADIO_WEBGET_WEB_GET_H

#define WEB_GET_ERROR_SIZE 128

struct WebGet {
    const char *userAgent;              // ASCII ("SetRadio/1.0.0")
    char error[WEB_GET_ERROR_SIZE];     // the last failure ("WinHttpSendRequest 12029"), "" when none
};

// A DirectoryNet get (context: a WebGet): GET url (at most DIRECTORY_URL_SIZE bytes) into body
// within limitMs in all, lookup and every read included. Returns a DirectoryStatus: answers other
// than 200 and answers longer than capacity are refused. Safe on any thread; keeps no state.
int WebGetWithin(void *context, const char *url, unsigned limitMs, char *body, int capacity, int *length);

#endif
