// server_lookup.cpp: the platform's name lookups for the directory search, bounded in time: each
// runs on a helper thread that owns its data and is left behind when it does not end in time.
#include "directory/directory_search.h"
#include "common/platform.h"
#include "common/text.h"

#define LOOKUP_POLL_MS 5

// Shared by the waiting caller and the helper thread; the last of the two to let go frees it.
struct ServerLookup {
    volatile long holders;   // 2 while both hold it
    volatile long done;      // 1 once the results are final
    int reverse;             // 1: name of address; 0: addresses of name
    unsigned address;
    char name[DIRECTORY_HOST_SIZE];
    unsigned addresses[DIRECTORY_SERVERS_MAX];
    int count;
};

static void ReleaseLookup(ServerLookup *job)
{
    if (PlatAtomicAdd(&job->holders, -1) == 0) PlatFree(job);
}

static PlatThreadResult PLAT_THREAD_CALL LookupThread(void *argument)
{
    ServerLookup *job = (ServerLookup *)argument;
    if (job->reverse) job->count = PlatReverseName(job->address, job->name, sizeof job->name);
    else job->count = PlatLookupAddresses(job->name, job->addresses, DIRECTORY_SERVERS_MAX);
    PlatAtomicAdd(&job->done, 1);
    ReleaseLookup(job);
    return 0;
}

// Runs the job on a helper thread and waits at most limitMs; 1 when it ended in time (the caller
// then reads it and releases it), 0 when it did not (it is already released).
static int RunLookup(ServerLookup *job, unsigned limitMs)
{
    job->holders = 2;
    if (!PlatStartThread(LookupThread, job)) {
        PlatFree(job);
        return 0;
    }
    unsigned start = PlatTickCount();
    for (;;) {
        if (PlatAtomicAdd(&job->done, 0)) return 1;
        unsigned elapsed = PlatTickCount() - start;
        if (elapsed >= limitMs) break;
        unsigned left = limitMs - elapsed;
        PlatSleep(left < LOOKUP_POLL_MS ? left : LOOKUP_POLL_MS);
    }
    ReleaseLookup(job);
    return 0;
}

int LookupAddressesWithin(void *context, const char *name, unsigned *addresses, int max, unsigned limitMs)
{
    ServerLookup *job = (ServerLookup *)PlatAlloc((int)sizeof(ServerLookup));
    if (!job) return 0;
    CopyText(job->name, sizeof job->name, name);
    if (!RunLookup(job, limitMs)) return 0;
    int count = job->count < max ? job->count : max;
    for (int i = 0; i < count; i++) addresses[i] = job->addresses[i];
    ReleaseLookup(job);
    return count;
}

int LookupNameWithin(void *context, unsigned address, char *out, int size, unsigned limitMs)
{
    if (size <= 0) return 0;
    out[0] = 0;
    ServerLookup *job = (ServerLookup *)PlatAlloc((int)sizeof(ServerLookup));
    if (!job) return 0;
    job->reverse = 1;
    job->address = address;
    if (!RunLookup(job, limitMs)) return 0;
    int found = job->count;
    if (found) CopyText(out, size, job->name);
    ReleaseLookup(job);
    return found;
}

unsigned DirectoryTick(void *context)
{
    return PlatTickCount();
}
