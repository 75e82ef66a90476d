// adapter_gateway.cpp: the gateway text and list position of the adapter carrying an address.
#include "hostnet/host_defaults.h"

#include <iptypes.h>

#include "common/socket.h"
#include "common/text.h"
#include "hostnet/host_buffers.h"
#include "hostnet/iphlp_query.h"

typedef DWORD(WINAPI *GetAdaptersInfoFunction)(IP_ADAPTER_INFO *, ULONG *);

#define FIRST_INFO_BUFFER 640
#define ADDRESS_TEXT_SIZE 16  // the list's address texts: 15 characters and a NUL

static DWORD CallGetAdaptersInfo(void *function, void *buffer, ULONG *size)
{
    return ((GetAdaptersInfoFunction)function)((IP_ADAPTER_INFO *)buffer, size);
}

// Copies an address text of the adapter list, which holds 16 bytes and may lack its NUL.
static void ReadAddressText(const IP_ADDR_STRING *entry, char *out, int size)
{
    static_assert(sizeof entry->IpAddress.String == ADDRESS_TEXT_SIZE, "address text size");
    char text[ADDRESS_TEXT_SIZE + 1];
    CopyBytes(text, entry->IpAddress.String, ADDRESS_TEXT_SIZE);
    text[ADDRESS_TEXT_SIZE] = 0;
    CopyText(out, size, text);
}

// Walks the list inside the block, every record checked to lie in it, and matches the address.
static int FindAdapter(const unsigned char *block, int size, unsigned address, char *gateway, int gatewaySize)
{
    const IP_ADAPTER_INFO *adapter = (const IP_ADAPTER_INFO *)block;
    int limit = size / (int)sizeof(IP_ADAPTER_INFO);  // a list that loops ends here
    for (int position = 0; position < limit; position++) {
        if (!BlockHolds(block, size, adapter, sizeof *adapter)) return -1;
        char text[ADDRESS_TEXT_SIZE + 1];
        ReadAddressText(&adapter->IpAddressList, text, sizeof text);
        if (ParseDottedQuad(text) == address) {
            ReadAddressText(&adapter->GatewayList, gateway, gatewaySize);
            return position;
        }
        adapter = adapter->Next;
    }
    return -1;
}

int AdapterGateway(unsigned address, char *gateway, int size)
{
    if (size >= 1) gateway[0] = 0;
    HMODULE library = LoadLibraryA(IPHLP_LIBRARY);
    if (!library) return -1;
    void *function = (void *)GetProcAddress(library, "GetAdaptersInfo");
    int position = -1;
    int blockSize = 0;
    unsigned char *block = function ? IphlpQuery(CallGetAdaptersInfo, function, FIRST_INFO_BUFFER, &blockSize) : 0;
    if (block) {
        position = FindAdapter(block, blockSize, address, gateway, size);
        PlatFree(block);
    }
    FreeLibrary(library);
    return position;
}
