// test_support.h: shared pieces of the Win32 tests: answering message boxes, the main window, pumping.
#ifndef SETRADIO_TESTS_WIN_TEST_SUPPORT_H
#define SETRADIO_TESTS_WIN_TEST_SUPPORT_H

#include "common/platform.h"
#include <string>

// Message boxes are recorded and answered by a CBT hook on this thread. Each box takes the next
// queued answer (IDOK or IDCANCEL); with none queued it is cancelled and counted as unexpected.
void StartBoxWatch(void);
void StopBoxWatch(void);
void QueueBoxAnswer(int answer);
int BoxCount(void);
int UnexpectedBoxCount(void);
const char *BoxText(int index);      // code page 949 bytes of the text shown (read in UTF-16)
const char *BoxCaption(int index);
int MaxBoxDepth(void);
// Open and save dialogs are answered by the same watch: each takes the next queued path
// (a Z:\ path or a Windows one; "" cancels the dialog).
void QueueFileAnswer(const char *path);     // 949 bytes
void QueueWideFileAnswer(const WCHAR *path);
int FileDialogCount(void);               // most boxes open at the same time since StartBoxWatch

// The main window as the program creates it (class RecordMainDlg, template 6).
HWND CreateMainWindow(void);
void DestroyMainWindow(HWND window);  // DestroyWindow and drain the quit message it posts

// Points the settings file at a fresh temporary file of that name (saved receives the old path,
// MAX_PATH units); RestoreSettingsFile deletes it and puts the old path back.
void UsePrivateSettingsFile(const char *name, WCHAR *saved);
void RestoreSettingsFile(const WCHAR *saved);
std::string SettingsPath949(void);   // the settings file's path for the tests' own ANSI calls (ASCII)

// Window texts read and written in UTF-16, given and returned as code page 949 bytes (id 0: the
// window's own text), whatever the system's code page.
int GetWindowText949(HWND window, char *out, int size);
int GetText949(HWND window, int id, char *out, int size);
void SetText949(HWND window, int id, const char *text);

// Dispatches the thread's messages for about ms milliseconds (dialog keys included for window).
void PumpMessages(HWND window, int ms);

#endif
