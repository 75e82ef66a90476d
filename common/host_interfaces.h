// host_interfaces.h: the PC's IPv4 addresses with their masks, as the platform's interface list gives them.
#ifndef SETRADIO_COMMON_HOST_INTERFACES_H
#define SETRADIO_COMMON_HOST_INTERFACES_H

#define HOST_INTERFACES_MAX 20              // addresses looked at; any beyond are left out
#define HOST_INTERFACE_LOOPBACK 1
#define HOST_INTERFACE_POINT_TO_POINT 2

// One IPv4 address of the PC: address and mask in network order, HOST_INTERFACE_ flags.
struct HostInterface {
    unsigned address;
    unsigned mask;
    unsigned flags;
};

// Fills at most room entries, in the platform's list order; returns how many (0 when the query failed).
typedef int (*HostInterfaceReader)(HostInterface *list, int room);

// The platform's reader: hostnet/ on Windows (the WinSock interface list), common/ elsewhere (getifaddrs).
int ReadHostInterfaces(HostInterface *list, int room);

#endif
