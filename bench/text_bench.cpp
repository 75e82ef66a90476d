// text_bench.cpp: prints how long key lookups, loading a channel list and composing a SETT take
// on the largest texts a device can send or the tool can compose. Run: <native build>/text_bench
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "common/text.h"
#include "device/message.h"

namespace {

double NowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Reads every key of a stored text the way the form loads it; returns the bytes of values read.
int LoadAll(const char *text)
{
    static const char *const keys[] = {"DhcpMode=", "LocalIP=", "SubnetMask=", "GatewayIP=", "DNS_IP=",
                                       "PPPoEID=", "PPPoEPsw=", "PlsUrl1=", "PlsUrl2="};
    char value[DEVICE_VALUE_SIZE], key[24];
    int total = 0;
    for (const char *k : keys) {
        GetKeyValue(k, value, sizeof value, text);
        total += TextLength(value);
    }
    int count = ReadEntryCount(text);
    for (int n = 1; n <= count; n++) {
        MakeNumberedKey(key, sizeof key, "File", n);
        GetKeyValue(key, value, sizeof value, text);
        total += TextLength(value);
        MakeNumberedKey(key, sizeof key, "Title", n);
        GetKeyValue(key, value, 32, text);
        total += TextLength(value);
    }
    return total;
}

void FullCell(void *, int, int, char *buffer, int size)
{
    std::string full(127, 'v');
    CopyText(buffer, size, full.c_str());
}

template <typename F> double TimeMs(int rounds, F f)
{
    double start = NowMs();
    for (int i = 0; i < rounds; i++) f();
    return (NowMs() - start) / rounds;
}

}  // namespace

int main()
{
    std::string full(127, 'v');
    SettForm form = {};
    form.mode = 1;
    form.macAddr = full.c_str();
    for (auto &f : form.fields) f = full.c_str();
    form.channelCount = 235;
    form.readCell = FullCell;
    std::vector<char> sett(DEVICE_MESSAGE_MAX);
    int length = 0;
    double compose = TimeMs(200, [&] { length = ComposeSett(&form, sett.data(), DEVICE_MESSAGE_MAX); });
    printf("compose SETT, 235 entries, every value 127 bytes: %d bytes, %.3f ms\n", length, compose);

    int sink = 0;
    double lastKey = TimeMs(2000, [&] {
        char value[DEVICE_VALUE_SIZE];
        GetKeyValue("Title235=", value, sizeof value, sett.data());
        sink += value[0];
    });
    printf("one lookup of the last key in that text: %.1f us\n", lastKey * 1000.0);
    double load = TimeMs(20, [&] { sink += LoadAll(sett.data()); });
    printf("loading all 235 entries of that text: %.2f ms\n", load);

    // Hostile: the largest count the reader accepts, no entries at all, and a body of near
    // matches so that every lookup runs over the whole text.
    std::string hostile = "OpCode=IMIN\r\nNumberOfEntries=999999\r\n";
    while (hostile.size() + 5 < DEVICE_MESSAGE_MAX - 1) hostile += "Titl ";
    printf("hostile text: %zu bytes, entry count read as %d\n", hostile.size(), ReadEntryCount(hostile.c_str()));
    double worst = TimeMs(1, [&] { sink += LoadAll(hostile.c_str()); });
    printf("loading the hostile text (every lookup misses): %.1f ms\n", worst);
    return sink == -1;
}
