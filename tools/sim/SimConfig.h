#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Requests touching registers first..last are refused with an exception of this code.
struct SimExceptionRule {
    uint16_t first = 0;
    uint16_t last = 0;
    uint8_t code = 2;
};

// Misbehaviour the simulated device can be told to show. Everything off by default.
struct SimFaults {
    int delayMs = 0;      // every answer leaves this much later
    int lateAnswers = 0;  // this many coming answers leave lateMs later (used up as sent)
    int lateMs = 0;
    int unitId = -1;          // >= 0: answers carry this unit identifier
    int protocolId = -1;      // >= 0: answers carry this protocol identifier
    bool zeroLength = false;  // answers carry a length field of 0
    std::vector<SimExceptionRule> exceptions;
    int dropAfter = -1;   // >= 0: each connection is reset on the request after this many
    bool silent = false;  // requests are read and never answered
    int silentAfter = -1;  // >= 0: each connection's requests after the first N are never answered
    // Settings writes touching these registers are refused with the rule's code.
    std::vector<SimExceptionRule> refuseWrites;
    // Settings writes touching these registers are acknowledged, but the old values stay.
    std::vector<SimExceptionRule> keepOldWrites;

    bool ChangesAnswers() const {
        return delayMs > 0 || lateAnswers > 0 || unitId >= 0 || protocolId >= 0 || zeroLength;
    }
};

struct SimConfig {
    std::string address = "127.0.0.1";
    int port = 1502;  // 0 picks a free port
    uint16_t deviceType = 14;
    uint16_t firmware = 0x0204;
    std::string password = "vexor";
    int restartDownMs = 1500;  // after a restart command, connections are refused this long
    bool recording = false;
    uint32_t errorWord = 0;
    uint32_t seed = 1;
    bool verbose = false;  // one line per request on standard error
    std::string cardDir;   // not empty: recorded-data files are written into this folder
    std::vector<uint32_t> recordSources;  // recording source codes for slots 1.., the rest stay "none"
    SimFaults faults;
    int prerecordSeconds = 0;  // > 0: write this much recording to cardDir and end
};
