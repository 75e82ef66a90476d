// vnbt_host_buffers_test.cpp: readers of host network replies: the VNBT driver block, the interface list, bounds.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "hostnet/host_buffers.h"

namespace {

// An address value as the system holds it: octets in network order in memory.
unsigned Address(unsigned char a, unsigned char b, unsigned char c, unsigned char d)
{
    unsigned char octets[4] = {a, b, c, d};
    unsigned value;
    memcpy(&value, octets, 4);
    return value;
}

// One interface record: flags, then address, broadcast and mask as 24-byte socket addresses.
void PutInterface(std::vector<unsigned char> &records, unsigned address, unsigned mask)
{
    std::vector<unsigned char> record(INTERFACE_RECORD_SIZE, 0xEE);
    for (int entry = 0; entry < 3; entry++) {
        unsigned char *at = &record[4 + 24 * entry];
        at[0] = 2;  // AF_INET
        at[1] = 0;
    }
    memcpy(&record[4 + 4], &address, 4);
    memcpy(&record[52 + 4], &mask, 4);
    records.insert(records.end(), record.begin(), record.end());
}

}  // namespace

TEST(VnbtReply, FirstDnsFieldIsByteReversed)
{
    unsigned char reply[VNBT_BUFFER_SIZE] = {};
    // 168.126.63.1 as a little-endian number with the first octet most significant.
    const unsigned char field[4] = {1, 63, 126, 168};
    memcpy(reply + 16, field, 4);
    const unsigned char second[4] = {2, 2, 2, 2};
    memcpy(reply + 20, second, 4);
    unsigned server = 0;
    EXPECT_EQ(2, DecodeVnbtReply(reply, sizeof reply, &server));
    EXPECT_EQ(Address(168, 126, 63, 1), server);
}

TEST(VnbtReply, ZeroFieldStillCountsAndShortReplyDoesNot)
{
    unsigned char reply[VNBT_BUFFER_SIZE] = {};
    unsigned server = 77;
    EXPECT_EQ(2, DecodeVnbtReply(reply, sizeof reply, &server));
    EXPECT_EQ(0u, server);

    server = 77;
    EXPECT_EQ(0, DecodeVnbtReply(reply, 19, &server));
    EXPECT_EQ(77u, server);
    EXPECT_EQ(2, DecodeVnbtReply(reply, 20, &server));
}

TEST(InterfaceList, FirstMatchingRecordGivesItsMask)
{
    std::vector<unsigned char> records;
    PutInterface(records, Address(127, 0, 0, 1), Address(255, 0, 0, 0));
    PutInterface(records, Address(10, 1, 2, 3), Address(255, 255, 255, 0));
    PutInterface(records, Address(10, 1, 2, 3), Address(255, 255, 0, 0));
    EXPECT_EQ(Address(255, 255, 255, 0), FindInterfaceMask(records.data(), (int)records.size(), Address(10, 1, 2, 3)));
    EXPECT_EQ(Address(255, 0, 0, 0), FindInterfaceMask(records.data(), (int)records.size(), Address(127, 0, 0, 1)));
    EXPECT_EQ(0u, FindInterfaceMask(records.data(), (int)records.size(), Address(10, 9, 9, 9)));
}

TEST(InterfaceList, PartialRecordsAndEmptyListAreNotRead)
{
    std::vector<unsigned char> records;
    PutInterface(records, Address(10, 0, 0, 1), Address(255, 0, 0, 0));
    PutInterface(records, Address(10, 0, 0, 2), Address(255, 255, 0, 0));
    // The second record is cut short by one byte: only whole records count.
    EXPECT_EQ(0u, FindInterfaceMask(records.data(), 2 * INTERFACE_RECORD_SIZE - 1, Address(10, 0, 0, 2)));
    EXPECT_EQ(Address(255, 0, 0, 0), FindInterfaceMask(records.data(), INTERFACE_RECORD_SIZE, Address(10, 0, 0, 1)));
    EXPECT_EQ(0u, FindInterfaceMask(records.data(), 0, Address(10, 0, 0, 1)));
    EXPECT_EQ(0u, FindInterfaceMask(records.data(), -76, Address(10, 0, 0, 1)));
}

TEST(InterfaceList, AddressZeroMatchesAZeroRecord)
{
    std::vector<unsigned char> records;
    PutInterface(records, 0, Address(255, 255, 255, 255));
    EXPECT_EQ(Address(255, 255, 255, 255), FindInterfaceMask(records.data(), (int)records.size(), 0));
}

TEST(BlockHolds, InsideEdgesAndOutside)
{
    unsigned char storage[80] = {};
    unsigned char *block = storage + 8;  // the block under test: 64 bytes inside the storage
    EXPECT_TRUE(BlockHolds(block, 64, block, 64));
    EXPECT_TRUE(BlockHolds(block, 64, block + 60, 4));
    EXPECT_TRUE(BlockHolds(block, 64, block + 64, 0));
    EXPECT_FALSE(BlockHolds(block, 64, block + 61, 4));
    EXPECT_FALSE(BlockHolds(block, 64, block + 65, 0));
    EXPECT_FALSE(BlockHolds(block, 64, storage + 4, 4));  // before the block
    EXPECT_FALSE(BlockHolds(block, 64, nullptr, 1));
    EXPECT_FALSE(BlockHolds(block, 64, block, -1));
    EXPECT_FALSE(BlockHolds(block, 64, block + 8, 0x7FFFFFFF));
}
