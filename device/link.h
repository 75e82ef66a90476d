// link.h: the DeviceLink UDP socket: broadcasting messages in slices and collecting replies.
#ifndef SETRADIO_DEVICE_LINK_H
#define SETRADIO_DEVICE_LINK_H

#include "common/host_interfaces.h"
#include "common/platform.h"

#define TOOL_PORT 49005
#define DEVICE_PORT 49006
#define DATAGRAM_SLICE 1472
#define DEVICE_WAIT_MS 5000
#define SEND_FLAG_DONTROUTE 4

// Registers the socket for read notifications to the window (Windows: WSAAsyncSelect with
// MSG_DEVICE_READ); must leave the socket non-blocking. Null: the socket is only made non-blocking.
typedef int (*DeviceNotifyRegistrar)(SockHandle s, void *window);

void OpenDeviceLink(void *window, DeviceNotifyRegistrar registrar);
void CloseDeviceLink(void);
SockHandle DeviceLinkSocket(void);   // NO_SOCKET until opened

// Where device messages go: 255.255.255.255, then the broadcast address of each other subnet of
// the PC (see DeviceDestinations); read anew on each call. Returns how many addresses it wrote.
int DeviceLinkDestinations(unsigned *out, int room);
// The PC's interface list for DeviceLinkDestinations; null (the default) sends to 255.255.255.255 only.
void SetDeviceLinkInterfaces(HostInterfaceReader reader);

// One datagram to the first destination (255.255.255.255 unless a test redirected it).
int SendDatagram(SockHandle s, const char *data, int length, int port, int flags);
int ReceiveDatagram(SockHandle s, char *buffer, int size, int flags);
// The text with its NUL to every destination in turn, in slices; waits in place until each has it.
// A destination with no route is passed over at once; one that takes nothing for limitMs since the
// last progress is given up silently. For programs without a window.
void SendDeviceMessage(SockHandle s, const char *text, unsigned limitMs);
// The same for the window, which must never wait: queues a copy of the text behind the messages
// still waiting and sends at once what the platform takes. Returns 1 while anything waits, which
// ContinueDeviceSends then sends on (from a timer). At most 16 messages wait; a further one is dropped.
int QueueDeviceMessage(SockHandle s, const char *text, unsigned limitMs);
// Sends on the waiting messages, first one first, as far as the platform takes them now; 1 while
// anything still waits. Closing the link drops its waiting messages.
int ContinueDeviceSends(void);
// One whole message as a heap block ended by NUL (release with PlatFree), or null; never waits.
char *ReceiveDeviceMessage(SockHandle s, unsigned idleLimitMs);
// Texts the socket's receives keep between calls (partial, or whole and waiting to be handed on).
int PendingDeviceTextCount(SockHandle s);
// Milliseconds until the first kept text is due: 0 when one is, idleLimitMs when none is kept.
unsigned PendingDeviceTextDelay(SockHandle s, unsigned idleLimitMs);
// A kept text that is due, ended by NUL (caller frees), or null. Receives nothing.
char *TakeExpiredDeviceMessage(SockHandle s, unsigned idleLimitMs);

// ReceiveDatagram that also gives the sender's address (network order bytes) and port.
int ReceiveDatagramFrom(SockHandle s, char *buffer, int size, int flags, unsigned *address, int *port);
// Tests only: the one address device datagrams go to instead of the whole destination list (and,
// when port is not 0, which port replaces the one asked for). SetDeviceLinkDestination(0xFFFFFFFF, 0)
// restores the list.
void SetDeviceLinkDestination(unsigned address, int port);
// Tests only: sends each device datagram through sender instead of the platform (null restores it).
// It returns the bytes sent, or -1 with the platform's error code in *error.
typedef int (*DeviceDatagramSender)(SockHandle s, unsigned address, const char *data, int length, int *error);
void SetDeviceLinkSender(DeviceDatagramSender sender);

#endif
