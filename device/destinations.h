// destinations.h: where a device message goes: the limited broadcast, then each other subnet's broadcast.
#ifndef SETRADIO_DEVICE_DESTINATIONS_H
#define SETRADIO_DEVICE_DESTINATIONS_H

#include "common/host_interfaces.h"

#define DEVICE_DESTINATIONS_MAX (HOST_INTERFACES_MAX + 1)

// Fills out (room entries) with 255.255.255.255 first, then each distinct directed broadcast
// address (address OR NOT mask) of the list, in list order, skipping loopback, point-to-point
// links, masks of /31 and /32 and the subnet of primary (the address the limited broadcast leaves
// from; 0 when there is none, and then every subnet is sent to). Addresses in network order.
// Returns how many were written (at least 1 when room allows).
int DeviceDestinations(const HostInterface *list, int count, unsigned primary, unsigned *out, int room);

#endif
