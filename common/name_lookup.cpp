// name_lookup.cpp: host name lookup bounded in time, on a helper thread that may be left behind.
#include "common/socket.h"
#include "common/text.h"

#define LOOKUP_HOST_SIZE 260
#define LOOKUP_POLL_MS 5

// Shared by the waiting caller and the helper thread; the last of the two to let go frees it.
struct LookupJob {
    volatile long holders;   // 2 while both hold it
    volatile long done;      // 1 once found and address are final
    int found;
    unsigned address;
    char host[LOOKUP_HOST_SIZE];
};

static void ReleaseJob(LookupJob *job)
{
    if (PlatAtomicAdd(&job->holders, -1) == 0)
        PlatFree(job);
}

static PlatThreadResult PLAT_THREAD_CALL LookupThread(void *argument)
{
    LookupJob *job = (LookupJob *)argument;
    job->found = PlatLookupName(job->host, &job->address);
    PlatAtomicAdd(&job->done, 1);
    ReleaseJob(job);
    return 0;
}

int ResolveHostWithin(const char *host, unsigned limitMs, unsigned *address)
{
    *address = ADDRESS_NONE;
    if (!host)
        return CONNECT_NO_HOST;
    unsigned dotted = (unsigned)inet_addr(host);
    if (dotted != ADDRESS_NONE) {
        *address = dotted;
        return CONNECT_MADE;
    }
    LookupJob *job = (LookupJob *)PlatAlloc((int)sizeof(LookupJob));
    if (!job)
        return CONNECT_FAILED;
    CopyText(job->host, LOOKUP_HOST_SIZE, host);
    job->holders = 2;
    if (!PlatStartThread(LookupThread, job)) {
        PlatFree(job);
        return CONNECT_FAILED;
    }
    unsigned start = PlatTickCount();
    int result = CONNECT_LOOKUP_TIMED_OUT;
    for (;;) {
        if (PlatAtomicAdd(&job->done, 0)) {
            result = job->found ? CONNECT_MADE : CONNECT_NO_HOST;
            if (job->found)
                *address = job->address;
            break;
        }
        unsigned elapsed = PlatTickCount() - start;
        if (elapsed >= limitMs)
            break;
        unsigned left = limitMs - elapsed;
        PlatSleep(left < LOOKUP_POLL_MS ? left : LOOKUP_POLL_MS);
    }
    ReleaseJob(job);
    return result;
}
