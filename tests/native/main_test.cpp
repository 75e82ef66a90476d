// main_test.cpp: GoogleTest entry for the core tests; starts WinSock on Windows.
#include <gtest/gtest.h>
#include "common/platform.h"

int main(int argc, char **argv)
{
#ifdef _WIN32
    WSADATA data;
    WSAStartup(0x0101, &data);
#endif
    testing::InitGoogleTest(&argc, argv);
    int rc = RUN_ALL_TESTS();
#ifdef _WIN32
    WSACleanup();
#endif
    return rc;
}
