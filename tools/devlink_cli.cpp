// devlink_cli.cpp: sends one device message through the real DeviceLink and collects the replies (tests).
//
// Usage: devlink_cli [--text TEXT | --file FILE] [--wait MS] [--expect N] [--out DIR] [--idle MS]
//                    [--dest A.B.C.D] [--port P]
//   Opens the DeviceLink (port 49005, broadcast on), sends the text (FILE: its bytes up to the first
//   NUL) with SendDeviceMessage, then collects messages with ReceiveDeviceMessage for MS milliseconds
//   [3000] or until N messages came. Prints one line per message:
//     message K kind=IMIN|SETC|OTHER bytes=N mac=MAC
//   and writes each message's text to DIR/message.K when --out is given. Last line: "messages K".
//   --dest/--port send elsewhere than 255.255.255.255:49006 (tests on loopback only).
// Exit code 0, or 1 when fewer than --expect messages came. Runs natively and as a Windows program.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "common/platform.h"
#include "common/socket.h"
#include "device/link.h"
#include "device/message.h"

static std::string ReadFileText(const char *path)
{
    std::string text;
    FILE *f = fopen(path, "rb");
    if (!f) {
        perror(path);
        exit(2);
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    fclose(f);
    size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

int main(int argc, char **argv)
{
    std::string text = "OpCode=FIND";
    unsigned waitMs = 3000, idleMs = DEVICE_WAIT_MS;
    int expect = -1;
    const char *outDir = 0;
    unsigned destination = ADDRESS_NONE;
    int destinationPort = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const char *a = argv[i], *v = argv[i + 1];
        if (!strcmp(a, "--text")) text = v;
        else if (!strcmp(a, "--file")) text = ReadFileText(v);
        else if (!strcmp(a, "--wait")) waitMs = (unsigned)atoi(v);
        else if (!strcmp(a, "--idle")) idleMs = (unsigned)atoi(v);
        else if (!strcmp(a, "--expect")) expect = atoi(v);
        else if (!strcmp(a, "--out")) outDir = v;
        else if (!strcmp(a, "--dest")) destination = ParseDottedQuad(v);
        else if (!strcmp(a, "--port")) destinationPort = atoi(v);
        else {
            fprintf(stderr, "devlink_cli: unknown option %s\n", a);
            return 2;
        }
    }
    SetDeviceLinkDestination(destination, destinationPort);
#ifdef _WIN32
    WSADATA data;
    WSAStartup(0x0101, &data);
#endif
    OpenDeviceLink(0, 0);
    SockHandle s = DeviceLinkSocket();
    if (s == NO_SOCKET) {
        fprintf(stderr, "devlink_cli: no socket\n");
        return 2;
    }
    SendDeviceMessage(s, text.c_str(), DEVICE_WAIT_MS);
    int count = 0;
    unsigned start = PlatTickCount();
    while (PlatTickCount() - start < waitMs && (expect < 0 || count < expect)) {
        char *message = ReceiveDeviceMessage(s, idleMs);
        if (!message) {
            unsigned left = waitMs - (PlatTickCount() - start);
            PlatWaitReadable(s, left < 50 ? left : 50);
            continue;
        }
        char mac[DEVICE_VALUE_SIZE], firmware[DEVICE_VALUE_SIZE];
        ReadDeviceIdentity(message, mac, sizeof mac, firmware, sizeof firmware);
        int kind = ClassifyMessage(message);
        size_t length = strlen(message);
        printf("message %d kind=%s bytes=%u mac=%s\n", count, kind == MESSAGE_IMIN ? "IMIN" : kind == MESSAGE_SETC ? "SETC" : "OTHER",
               (unsigned)length, mac);
        if (outDir) {
            std::string path = std::string(outDir) + "/message." + std::to_string(count);
            FILE *f = fopen(path.c_str(), "wb");
            if (f) {
                fwrite(message, 1, length, f);
                fclose(f);
            }
        }
        PlatFree(message);
        count++;
    }
    printf("messages %d\n", count);
    fflush(stdout);
    CloseDeviceLink();
#ifdef _WIN32
    WSACleanup();
#endif
    return expect >= 0 && count < expect ? 1 : 0;
}
