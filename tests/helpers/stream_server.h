// stream_server.h: a scriptable stream server on loopback for the probe's tests (Linux only).
// Each connection reads one request (up to its empty line), records it, then plays a script:
// bytes in pieces with pauses between them, endless data, silence or a close.
#ifndef SETRADIO_TESTS_STREAM_SERVER_H
#define SETRADIO_TESTS_STREAM_SERVER_H

#include <string>
#include <vector>

struct ServerStep {
    enum Kind { SEND, PAUSE, ENDLESS, SILENCE, TRICKLE } kind;
    std::string bytes;  // SEND: the bytes; ENDLESS: the pattern repeated; TRICKLE: sent one byte at a time
    int ms;             // PAUSE: its length; SILENCE: longest wait for the peer to close; TRICKLE: per byte
};
typedef std::vector<ServerStep> ServerScript;  // the connection is closed after the last step

ServerStep SendStep(const std::string &bytes);
ServerStep PauseStep(int ms);
ServerStep EndlessStep(const std::string &pattern);
ServerStep SilenceStep(int ms);
ServerStep TrickleStep(const std::string &bytes, int msPerByte);
ServerScript AnswerScript(const std::string &bytes);   // one piece, then close

struct StreamServer;
// Listens on 127.0.0.1 (port 0: any free port). Connection i plays scripts[i]; later ones the last.
// Connections are served one after another, or each on its own thread when concurrent.
// With a request log, each request is appended to that file before its script plays, so a client
// holding an answer can rely on the log.
StreamServer *StartStreamServer(const std::vector<ServerScript> &scripts, int port = 0, bool concurrent = false,
                                const std::string &requestLog = "");
StreamServer *StartStreamServer(const ServerScript &script, int port = 0, bool concurrent = false,
                                const std::string &requestLog = "");
int ServerPort(const StreamServer *server);
std::vector<std::string> ServerRequests(StreamServer *server);  // every request so far, in order
void StopStreamServer(StreamServer *server);                     // stops, joins and frees

// "http://127.0.0.1:<port>/<path>"
std::string LoopbackUrl(int port, const std::string &path);
// First line of a request, without its line end; and the value of its Host header ("" without one).
std::string RequestLine(const std::string &request);
std::string RequestHost(const std::string &request);

#endif
