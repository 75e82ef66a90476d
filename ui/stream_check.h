// stream_check.h: checks a stream URL and asks the user whether to keep one that is not live.
#ifndef SETRADIO_UI_STREAM_CHECK_H
#define SETRADIO_UI_STREAM_CHECK_H

#include "common/platform.h"

int CheckStreamAddress(HWND owner, const char *url);   // nonzero: use the address

#endif
