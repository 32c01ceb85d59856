#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <string>
#include <vector>

#include "SimOptions.h"
#include "SimPrerecord.h"
#include "SimServer.h"

int main(int argc, char** argv) {
    SimConfig config;
    std::string message;
    switch (ParseSimArgs(std::vector<std::string>(argv + 1, argv + argc), config, message)) {
        case SimArgsResult::Help:
            std::fputs(SimUsage().c_str(), stdout);
            return 0;
        case SimArgsResult::Error:
            std::fprintf(stderr, "trv730-sim: %s\n", message.c_str());
            return 2;
        case SimArgsResult::Run:
            break;
    }

    if (config.prerecordSeconds > 0) {
        if (!PrerecordCard(config, config.prerecordSeconds, message)) {
            std::fprintf(stderr, "trv730-sim: %s\n", message.c_str());
            return 1;
        }
        return 0;
    }

    // The signals are taken by this thread alone, so the server thread never sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    CSimServer server(config);
    if (!server.Start(&message)) {
        std::fprintf(stderr, "trv730-sim: %s\n", message.c_str());
        return 1;
    }
    std::fprintf(stderr, "trv730-sim: TRV-730 on %s:%d (type %u, firmware %u.%u)\n", config.address.c_str(),
                 server.Port(), config.deviceType, config.firmware >> 8, config.firmware & 0xFF);
    if (!config.cardDir.empty()) {
        std::fprintf(stderr, "trv730-sim: memory card in %s\n", config.cardDir.c_str());
    }
    int signal = 0;
    sigwait(&stopSignals, &signal);
    std::fprintf(stderr, "trv730-sim: stopping\n");
    server.Stop();
    return 0;
}
