// channel_check.h: the check of every channel (F5): parallel probes on worker threads, the busy
// window meanwhile (nothing changes the ChannelList), and the box that offers to delete the
// channels with no stream behind them and names those that answer but not as ICY.
#ifndef SETRADIO_UI_CHANNEL_CHECK_H
#define SETRADIO_UI_CHANNEL_CHECK_H

#include "common/platform.h"

#define CHECK_WORKERS 8        // probes at once
#define CHECK_LIST_LINES 15    // channel lines in the result box before "외 N개"

void OnCheckAllCommand(HWND window);                             // starts a check, or cancels the running one
void OnCheckResult(HWND window, WPARAM wParam, LPARAM lParam);   // MSG_CHECK_RESULT
int IsChannelCheckRunning(void);                                  // probes under way
int IsChannelCheckBusy(void);                                     // running, or its result box is open
void CancelChannelCheck(HWND window);                             // abandons the probes; nothing is deleted
struct TextBuilder;
// Why a probe found no stream, as the result box and the station search's 상태 column name it.
void AppendProbeReason(TextBuilder *b, int reason, int httpCode);
// A box's line "외 N개" for the total - listed entries not named (nothing when all were).
void AppendMoreLine(TextBuilder *b, int total, int listed);

#endif
