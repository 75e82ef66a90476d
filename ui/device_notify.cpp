// device_notify.cpp: asks WinSock to post MSG_DEVICE_READ to the main window whenever a datagram waits.
#include "ui/device_search.h"
#include "res/resource.h"

// WSAAsyncSelect also makes the socket non-blocking, which the receive loop relies on.
int RegisterDeviceNotify(SockHandle s, void *window)
{
    return WSAAsyncSelect(s, (HWND)window, MSG_DEVICE_READ, FD_READ);
}
