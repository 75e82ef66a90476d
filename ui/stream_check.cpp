// stream_check.cpp: checks a stream URL and asks the user whether to keep one that is not live.
#include "ui/stream_check.h"
#include "common/text.h"
#include "stream/probe.h"
#include "winkit/show_message.h"
#include "ui/texts.h"

#define STREAM_CHECK_MESSAGE_SIZE 260

// "'<url>'\n" and the question. The URL is cut so that the question always fits whole.
static void ComposeNotLiveQuestion(char *message, int size, const char *url)
{
    TextBuilder b;
    BuilderInit(&b, message, size);
    int room = size - 1 - 3 - TextLength(TEXT_STREAM_NOT_LIVE);
    BuilderAppend(&b, "'");
    BuilderAppendCut(&b, url, room > 0 ? room : 0);
    BuilderAppend(&b, "'\n");
    BuilderAppend(&b, TEXT_STREAM_NOT_LIVE);
}

int CheckStreamAddress(HWND owner, const char *url)
{
    if (!url)
        url = "";
    char *message = (char *)PlatAlloc(STREAM_CHECK_MESSAGE_SIZE);
    if (!message)
        return 0;
    // The window is not repainted while the probe runs: the wait cursor tells the user why.
    HCURSOR previous = SetCursor(LoadCursor(0, IDC_WAIT));
    int live = ProbeStream(url);
    SetCursor(previous);
    int result = 1;
    if (!live) {
        ComposeNotLiveQuestion(message, STREAM_CHECK_MESSAGE_SIZE, url);
        result = ShowMessage(owner, message, MB_OKCANCEL) == IDOK;
    }
    PlatFree(message);
    return result;
}
