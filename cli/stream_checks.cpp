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

// The window's probe and live rule: a channel's check, or the Pls check of the send.
static int ProbeWith(const ProbeIo *io, const StreamCheck *check, ProbeOutcome *outcome)
{
    if (check->channelRule) return ProbeChannelAddressVia(io, check->url.c_str(), outcome);
    return ProbeStreamOutcomeVia(io, check->url.c_str(), outcome);
}

static void ProbeOne(StreamCheck *check, int trace)
{
    if (check->leftOut) {
        check->live = 0;
        check->reason = check->leftOut;
        check->httpCode = 0;
        return;
    }
    ProbeOutcome outcome;
    outcome.reason = PROBE_NO_ANSWER;
    outcome.httpCode = 0;
    if (!trace) {
        check->live = ProbeWith(&kSocketProbeIo, check, &outcome);
    } else {
        ProbeTrace recorder;
        StartProbeTrace(&recorder, &kSocketProbeIo);
        check->live = ProbeWith(&recorder.io, check, &outcome);
        FinishProbeTrace(&recorder);
        check->hops = recorder.hops;
    }
    check->reason = check->live ? PROBE_LIVE : outcome.reason;
    check->httpCode = outcome.httpCode;
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

// Words and texts in the order of the probe's reasons.
static const char *const kReasonWords[CHECK_REASON_COUNT] = {
    "", "not_http", "unknown_host", "refused", "connect_timed_out", "no_answer", "http_error",
    "http_not_icy", "empty_playlist", "redirect_without_location", "too_many_redirects", "too_long", "holds_key",
};
static const char *const kReasonTexts[CHECK_REASON_COUNT] = {
    CLI_TEXT_LIVE, CLI_REASON_NOT_HTTP, CLI_REASON_UNKNOWN_HOST, CLI_REASON_REFUSED, CLI_REASON_CONNECT_TIMED_OUT,
    CLI_REASON_NO_ANSWER, CLI_REASON_HTTP_ERROR, CLI_REASON_HTTP_NOT_ICY, CLI_REASON_EMPTY_PLAYLIST,
    CLI_REASON_NO_LOCATION, CLI_REASON_TOO_MANY_REDIRECTS, CLI_REASON_TOO_LONG, CLI_REASON_HOLDS_KEY,
};

const char *ReasonWord(int reason)
{
    return reason >= 0 && reason < CHECK_REASON_COUNT ? kReasonWords[reason] : "unknown";
}

std::string ReasonText(const StreamCheck *check)
{
    if (check->reason < 0 || check->reason >= CHECK_REASON_COUNT) return CLI_TEXT_NOT_LIVE;
    std::string text = kReasonTexts[check->reason];
    if (check->reason == PROBE_HTTP_ERROR) text += std::to_string(check->httpCode);
    return text;
}
