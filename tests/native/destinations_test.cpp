// destinations_test.cpp: where device messages go on a PC with several networks, and the test hook.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "common/platform.h"
#include "device/destinations.h"
#include "device/link.h"
#include "hostnet/host_buffers.h"

namespace {

unsigned Ip(unsigned a, unsigned b, unsigned c, unsigned d) { return htonl(a << 24 | b << 16 | c << 8 | d); }
unsigned Mask(int bits) { return htonl(bits ? 0xFFFFFFFFu << (32 - bits) : 0); }

std::vector<unsigned> Destinations(const std::vector<HostInterface> &list, unsigned primary, int room = DEVICE_DESTINATIONS_MAX)
{
    std::vector<unsigned> out((size_t)room + 1, 0xABABABAB);
    int n = DeviceDestinations(list.data(), (int)list.size(), primary, out.data(), room);
    EXPECT_EQ(0xABABABABu, out[(size_t)room]) << "written past the room";
    out.resize((size_t)(n < 0 ? 0 : n));
    return out;
}

const unsigned kLimited = 0xFFFFFFFFu;

}  // namespace

TEST(DeviceDestinations, LimitedFirstThenOtherSubnetsOnce)
{
    std::vector<HostInterface> pc = {
        {Ip(127, 0, 0, 1), Mask(8), HOST_INTERFACE_LOOPBACK},
        {Ip(192, 168, 0, 10), Mask(24), 0},       // Ethernet: the primary subnet
        {Ip(10, 78, 0, 1), Mask(24), 0},          // a virtual switch
        {Ip(192, 168, 0, 23), Mask(24), 0},       // Wi-Fi on the same home network as the Ethernet
        {Ip(10, 8, 0, 6), Mask(24), HOST_INTERFACE_POINT_TO_POINT},
        {Ip(172, 20, 5, 4), Mask(31), 0},
        {Ip(172, 21, 5, 4), Mask(32), 0},
        {Ip(10, 78, 0, 2), Mask(24), 0},          // a second address on the virtual switch
        {Ip(172, 16, 9, 9), Mask(12), 0},
        {Ip(0, 0, 0, 0), Mask(8), 0},
    };
    std::vector<unsigned> expected = {kLimited, Ip(10, 78, 0, 255), Ip(172, 31, 255, 255)};
    EXPECT_EQ(expected, Destinations(pc, Ip(192, 168, 0, 10)));
    // The Wi-Fi address chosen as primary names the same subnet.
    EXPECT_EQ(expected, Destinations(pc, Ip(192, 168, 0, 23)));

    // No default route: the limited broadcast, then every subnet, the primary's one included.
    expected = {kLimited, Ip(192, 168, 0, 255), Ip(10, 78, 0, 255), Ip(172, 31, 255, 255)};
    EXPECT_EQ(expected, Destinations(pc, 0));
    // A room of two keeps the first two.
    EXPECT_EQ(std::vector<unsigned>({kLimited, Ip(192, 168, 0, 255)}), Destinations(pc, 0, 2));

    // One network: 255.255.255.255 alone, as always.
    std::vector<HostInterface> one = {pc[0], pc[1]};
    EXPECT_EQ(std::vector<unsigned>({kLimited}), Destinations(one, Ip(192, 168, 0, 10)));
    EXPECT_EQ(std::vector<unsigned>({kLimited}), Destinations({}, 0));
    // A /0 mask's broadcast is the limited one: not sent twice.
    EXPECT_EQ(std::vector<unsigned>({kLimited}), Destinations({{Ip(10, 1, 1, 1), Mask(0), 0}}, 0));
}

// The WinSock interface list: flags word, then address, broadcast and mask as 24-byte socket addresses.
TEST(DeviceDestinations, InterfaceRecordsKeepUpOnesWithTheirKind)
{
    const unsigned flags[4] = {0x1 | 0x4, 0x1 | 0x2, 0x2, 0x1 | 0x8};  // loopback, broadcast, down, point-to-point
    std::vector<unsigned char> records(INTERFACE_RECORD_SIZE * 4, 0);
    for (unsigned i = 0; i < 4; i++) {
        unsigned char *r = &records[i * INTERFACE_RECORD_SIZE];
        r[0] = (unsigned char)flags[i];
        unsigned address = Ip(10, i, 0, 1), mask = Mask(24);
        memcpy(r + 8, &address, 4);
        memcpy(r + 56, &mask, 4);
    }
    HostInterface list[4] = {};
    ASSERT_EQ(3, DecodeInterfaceList(records.data(), (int)records.size(), list, 4));
    EXPECT_EQ(Ip(10, 0, 0, 1), list[0].address);
    EXPECT_EQ(Mask(24), list[1].mask);
    EXPECT_EQ(Ip(10, 3, 0, 1), list[2].address);
    EXPECT_EQ((unsigned)HOST_INTERFACE_LOOPBACK, list[0].flags);
    EXPECT_EQ(0u, list[1].flags);
    EXPECT_EQ((unsigned)HOST_INTERFACE_POINT_TO_POINT, list[2].flags);
    // A partial record is not read, and the room is kept.
    EXPECT_EQ(1, DecodeInterfaceList(records.data(), INTERFACE_RECORD_SIZE * 2 - 1, list, 4));
    EXPECT_EQ(1, DecodeInterfaceList(records.data(), (int)records.size(), list, 1));
}

namespace {
// Documentation networks: no machine carries them, so none of them is the primary subnet here.
int TwoNetworks(HostInterface *list, int room)
{
    const HostInterface pc[2] = {{Ip(192, 0, 2, 7), Mask(24), 0}, {Ip(198, 51, 100, 7), Mask(16), 0}};
    int n = room < 2 ? room : 2;
    for (int i = 0; i < n; i++) list[i] = pc[i];
    return n;
}
}  // namespace

// The link's interface reader and test destination are global: put back even when a check fails.
struct LinkDestinations : testing::Test {
    void TearDown() override
    {
        SetDeviceLinkDestination(0xFFFFFFFFu, 0);
        SetDeviceLinkInterfaces(0);
    }
};

TEST_F(LinkDestinations, LinkReadsTheInterfacesUnlessATestRedirectsIt)
{
    unsigned out[DEVICE_DESTINATIONS_MAX];
    ASSERT_EQ(1, DeviceLinkDestinations(out, DEVICE_DESTINATIONS_MAX));
    EXPECT_EQ(kLimited, out[0]) << "without an interface reader: the limited broadcast only";
    SetDeviceLinkInterfaces(TwoNetworks);
    ASSERT_EQ(3, DeviceLinkDestinations(out, DEVICE_DESTINATIONS_MAX));
    EXPECT_EQ(kLimited, out[0]);
    EXPECT_EQ(Ip(192, 0, 2, 255), out[1]);
    EXPECT_EQ(Ip(198, 51, 255, 255), out[2]);
    SetDeviceLinkDestination(Ip(127, 0, 0, 1), 0);
    ASSERT_EQ(1, DeviceLinkDestinations(out, DEVICE_DESTINATIONS_MAX));
    EXPECT_EQ(Ip(127, 0, 0, 1), out[0]) << "the test hook replaces the whole list";
    SetDeviceLinkDestination(kLimited, 0);
    EXPECT_EQ(3, DeviceLinkDestinations(out, DEVICE_DESTINATIONS_MAX));
}
