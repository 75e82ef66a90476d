// stream_checks.cpp: a small pool of worker threads running the stream probe, results handed on in order.
#include "cli/stream_checks.h"
#include "cli/cli_texts.h"
#include "stream/probe.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// Work shared by the workers and the thread that reports.
struct CheckPool {
    std::vector<StreamCheck> *checks;
    int trace;
    std::atomic<size_t> next;      // the next check a worker takes
    std::mutex lock;
    std::condition_variable changed;
    std::vector<char> done;        // per check, under lock
};

static void ProbeOne(StreamCheck *check, int trace)
{
    if (!trace) {
        check->live = ProbeStream(check->url.c_str());
    } else {
        ProbeTrace recorder;
        StartProbeTrace(&recorder, &kSocketProbeIo);
        check->live = ProbeStreamVia(&recorder.io, check->url.c_str());
        FinishProbeTrace(&recorder);
        check->hops = recorder.hops;
    }
    check->reason = check->live ? "" : "not-live";
}

static void CheckWorker(CheckPool *pool)
{
    for (;;) {
        size_t index = pool->next++;
        if (index >= pool->checks->size()) return;
        ProbeOne(&(*pool->checks)[index], pool->trace);
        std::lock_guard<std::mutex> hold(pool->lock);
        pool->done[index] = 1;
        pool->changed.notify_one();
    }
}

void RunStreamChecks(std::vector<StreamCheck> *checks, int jobs, int trace, CheckListener onReady, void *context)
{
    CheckPool pool;
    pool.checks = checks;
    pool.trace = trace;
    pool.next = 0;
    pool.done.assign(checks->size(), 0);
    int workers = jobs < (int)checks->size() ? jobs : (int)checks->size();
    std::vector<std::thread> threads;
    for (int i = 0; i < workers; i++) threads.emplace_back(CheckWorker, &pool);
    for (size_t reported = 0; reported < checks->size(); reported++) {
        {
            std::unique_lock<std::mutex> hold(pool.lock);
            pool.changed.wait(hold, [&] { return pool.done[reported] != 0; });
        }
        if (onReady) onReady(&(*checks)[reported], (int)reported, context);
    }
    for (size_t i = 0; i < threads.size(); i++) threads[i].join();
}

const char *ReasonText(const std::string &reason)
{
    if (reason.empty()) return CLI_TEXT_LIVE;
    return CLI_TEXT_NOT_LIVE;
}
