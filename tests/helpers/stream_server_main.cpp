// stream_server_main.cpp: the test stream server as a process, for shell-driven tests.
// Usage: stream_server PORT ANSWER_FILE [REQUEST_LOG [MODE]]
// Answers every connection on 127.0.0.1:PORT with the exact bytes of ANSWER_FILE, then closes it;
// appends each request received to REQUEST_LOG before the first byte of its answer goes out, so a
// client that holds an answer finds its request logged. Prints "ready PORT" once listening; runs
// until killed.
// MODE "silent": reads the request and sends nothing until the peer closes; "drip=MS": sends the
// answer one byte every MS milliseconds. Both serve every connection at once on its own thread.
#include "stream_server.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

static volatile sig_atomic_t g_stop = 0;
static void OnSignal(int) { g_stop = 1; }

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s PORT ANSWER_FILE [REQUEST_LOG [MODE]]\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        fprintf(stderr, "cannot read %s\n", argv[2]);
        return 2;
    }
    std::stringstream answer;
    answer << in.rdbuf();
    std::string mode = argc > 4 ? argv[4] : "";
    ServerScript script = AnswerScript(answer.str());
    if (mode == "silent")
        script = ServerScript{SilenceStep(24 * 3600 * 1000)};
    else if (mode.compare(0, 5, "drip=") == 0)
        script = ServerScript{TrickleStep(answer.str(), atoi(mode.c_str() + 5))};
    StreamServer *server = StartStreamServer(script, atoi(argv[1]), !mode.empty(), argc > 3 ? argv[3] : "");
    if (!server) {
        fprintf(stderr, "cannot listen on 127.0.0.1:%s\n", argv[1]);
        return 1;
    }
    signal(SIGTERM, OnSignal);
    signal(SIGINT, OnSignal);
    printf("ready %d\n", ServerPort(server));
    fflush(stdout);
    while (!g_stop)
        usleep(20000);
    StopStreamServer(server);
    return 0;
}
