// probe_reason.cpp: the channel check (http:// addresses only), the reasons' English names and groups.
#include "stream/probe.h"
#include "common/text.h"

static const char *const kReasonNames[PROBE_REASON_COUNT] = {
    "live", "not http", "unknown host", "refused", "connect timed out", "no answer", "HTTP error",
    "HTTP 200, not ICY", "empty playlist", "redirect without Location", "too many redirects",
};

// 1 when the text starts with "http://", letters in any case.
static int StartsWithHttp(const char *url)
{
    const char *scheme = "http://";
    for (int i = 0; scheme[i]; i++) {
        char c = url[i];
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
        if (c != scheme[i])
            return 0;
    }
    return 1;
}

int ProbeChannelAddressVia(const ProbeIo *io, const char *url, ProbeOutcome *outcome)
{
    if (!url || !StartsWithHttp(url)) {
        if (outcome) {
            outcome->reason = PROBE_NOT_HTTP;
            outcome->httpCode = 0;
        }
        return 0;
    }
    return ProbeStreamOutcomeVia(io, url, outcome);
}

int ProbeChannelAddress(const char *url, ProbeOutcome *outcome)
{
    return ProbeChannelAddressVia(&kSocketProbeIo, url, outcome);
}

const char *ProbeReasonName(int reason)
{
    return reason >= 0 && reason < PROBE_REASON_COUNT ? kReasonNames[reason] : "?";
}

int ProbeReasonGroup(int reason)
{
    if (reason == PROBE_LIVE) return PROBE_GROUP_LIVE;
    return reason == PROBE_HTTP_NOT_ICY ? PROBE_GROUP_NOT_ICY : PROBE_GROUP_NO_STREAM;
}

int FormatProbeReason(const ProbeOutcome *outcome, char *out, int size)
{
    TextBuilder b;
    BuilderInit(&b, out, size);
    BuilderAppend(&b, ProbeReasonName(outcome->reason));
    if (outcome->reason == PROBE_HTTP_ERROR) {
        BuilderAppend(&b, " ");
        BuilderAppendNumber(&b, outcome->httpCode);
    }
    return b.length;
}
