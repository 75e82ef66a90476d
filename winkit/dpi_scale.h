// dpi_scale.h: the DPI of a window, lengths from 96 DPI scaled to it, and children and columns rescaled.
#ifndef SETRADIO_WINKIT_DPI_SCALE_H
#define SETRADIO_WINKIT_DPI_SCALE_H

#include "common/platform.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

int SystemDpi(void);                        // the screen's DPI when the process started
// The DPI stored by SetWindowDpi, else the window's monitor's (Windows 10), else the system's.
int WindowDpi(HWND window);
void SetWindowDpi(HWND window, int dpi);
void ForgetWindowDpi(HWND window);          // before the window is destroyed
int ScaleByDpi(int value, int dpi);         // a 96-DPI length at dpi
// Dialog base units (average character width, height) that a font made for fontDpi has at 96 DPI.
void BaseUnitsAt96(HFONT font, int fontDpi, int *cx, int *cy);
// Dialog units of the system font (GetDialogBaseUnits) as pixels at the window's DPI: the 96-DPI
// length scaled by DPI/96.
int SystemUnitsToPixelsX(HWND window, int units);
int SystemUnitsToPixelsY(HWND window, int units);
// Every child of window moved and sized by numX/denX across and numY/denY down.
void ScaleChildWindows(HWND window, int numX, int denX, int numY, int denY);
// Every column of the list view (control id of window) widened by num/den.
void ScaleListColumns(HWND window, int id, int num, int den);
// Windows 10 rescales a per-monitor dialog itself on a DPI change; this turns that off, so that the
// caller scales it (nothing happens on older Windows).
void TakeOverDialogDpiScaling(HWND window);

#endif
