// adapter_dns.cpp: the number of DNS servers of an adapter and the first one's address.
#include "hostnet/host_defaults.h"

#include <stddef.h>
#include <iptypes.h>

#include "common/text.h"
#include "hostnet/dns_sources.h"
#include "hostnet/host_buffers.h"
#include "hostnet/iphlp_query.h"

typedef ULONG(WINAPI *GetAdaptersAddressesFunction)(ULONG, ULONG, void *, IP_ADAPTER_ADDRESSES *, ULONG *);

#define FIRST_ADDRESSES_BUFFER 368
#define ADDRESSES_FAMILY 2         // IPv4 only
#define ADDRESSES_FLAGS 0x3D0      // prefixes, WINS, gateways, all interfaces, all compartments
#define VNBT_DNS_QUERY 116

// The fields read from an adapter record end with FirstDnsServerAddress; older platforms give
// shorter records than this header's, so only that much is required to lie in the block.
#define ADAPTER_FIELDS_READ \
    ((int)(offsetof(IP_ADAPTER_ADDRESSES, FirstDnsServerAddress) + sizeof(void *)))

static DWORD CallGetAdaptersAddresses(void *function, void *buffer, ULONG *size)
{
    return ((GetAdaptersAddressesFunction)function)(ADDRESSES_FAMILY, ADDRESSES_FLAGS, 0,
                                                    (IP_ADAPTER_ADDRESSES *)buffer, size);
}

// Counts the DNS entries of the adapter at the position; every record and address is checked
// to lie in the block, and a list that loops ends after as many entries as the block can hold.
static int CountDnsServers(const unsigned char *block, int size, int position, unsigned *firstServer)
{
    const IP_ADAPTER_ADDRESSES *adapter = (const IP_ADAPTER_ADDRESSES *)block;
    for (int at = 0; at <= position; at++) {
        if (!BlockHolds(block, size, adapter, ADAPTER_FIELDS_READ)) return 0;
        if (at < position) adapter = adapter->Next;
    }
    const IP_ADAPTER_DNS_SERVER_ADDRESS *server = adapter->FirstDnsServerAddress;
    int limit = size / (int)sizeof *server;
    int count = 0;
    unsigned first = 0;
    while (server && count < limit) {
        if (!BlockHolds(block, size, server, sizeof *server)) return 0;
        if (count == 0) {
            const sockaddr_in *address = (const sockaddr_in *)server->Address.lpSockaddr;
            if (!BlockHolds(block, size, address, sizeof *address) || address->sin_family != AF_INET) return 0;
            first = address->sin_addr.s_addr;
        }
        count++;
        server = server->Next;
    }
    if (count > 0) *firstServer = first;
    return count;
}

int AdapterAddressesDns(int position, unsigned *firstServer)
{
    HMODULE library = LoadLibraryA(IPHLP_LIBRARY);
    if (!library) return 0;
    void *function = (void *)GetProcAddress(library, "GetAdaptersAddresses");
    int count = 0;
    int blockSize = 0;
    unsigned char *block = function ? IphlpQuery(CallGetAdaptersAddresses, function, FIRST_ADDRESSES_BUFFER, &blockSize) : 0;
    if (block) {
        if (position >= 0) count = CountDnsServers(block, blockSize, position, firstServer);
        PlatFree(block);
    }
    FreeLibrary(library);
    return count;
}

int VnbtDnsServers(unsigned *firstServer)
{
    char name[32];
    TextBuilder b;
    BuilderInit(&b, name, sizeof name);
    BuilderAppend(&b, "\\\\.\\VNBT");
    HANDLE driver = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                                OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, 0);
    if (driver == INVALID_HANDLE_VALUE) {
        BuilderAppend(&b, ".VXD");
        driver = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                             OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, 0);
        if (driver == INVALID_HANDLE_VALUE) return 0;
    }
    // Zeroed, so a reply that leaves the field alone never shows stale stack bytes.
    unsigned char reply[VNBT_BUFFER_SIZE];
    ZeroBytes(reply, sizeof reply);
    DWORD returned = 0;
    int count = 0;
    if (DeviceIoControl(driver, VNBT_DNS_QUERY, reply, sizeof reply, reply, sizeof reply, &returned, 0))
        count = DecodeVnbtReply(reply, sizeof reply, firstServer);
    CloseHandle(driver);
    return count;
}

int AdapterDnsServers(int position, unsigned *firstServer)
{
    if (IsNtFamily()) return AdapterAddressesDns(position, firstServer);
    return VnbtDnsServers(firstServer);
}
