// main_test.cpp: GoogleTest entry of the Win32 tests: WinSock, common controls, start-up state.
#include <gtest/gtest.h>
#include "common/platform.h"
#include <commctrl.h>
#include "app/startup.h"
#include "winkit/program_module.h"

int main(int argc, char **argv)
{
    WSADATA data;
    WSAStartup(0x0101, &data);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    g_instance = GetModuleHandleA(0);
    InitApplication();
    RegisterMainWindowClass(g_instance);
    testing::InitGoogleTest(&argc, argv);
    int rc = RUN_ALL_TESTS();
    ExitApplication();
    WSACleanup();
    return rc;
}
