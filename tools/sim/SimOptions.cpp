#include "SimOptions.h"

#include <charconv>

namespace {

bool ToInt(const std::string& text, long long low, long long high, long long& value, int base = 10) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        begin += 2;
    }
    const auto [ptr, ec] = std::from_chars(begin, end, value, base);
    return ec == std::errc() && ptr == end && begin != end && value >= low && value <= high;
}

// "MAJOR.MINOR" as the device reports it: major in the high byte.
bool ToFirmware(const std::string& text, uint16_t& version) {
    const size_t dot = text.find('.');
    long long major = 0;
    long long minor = 0;
    if (dot == std::string::npos || !ToInt(text.substr(0, dot), 0, 255, major) ||
        !ToInt(text.substr(dot + 1), 0, 255, minor)) {
        return false;
    }
    version = static_cast<uint16_t>((major << 8) | minor);
    return true;
}

// "FIRST[-LAST]:CODE"
bool ToExceptionRule(const std::string& text, SimExceptionRule& rule) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    const std::string range = text.substr(0, colon);
    const size_t dash = range.find('-');
    long long first = 0;
    long long last = 0;
    long long code = 0;
    if (!ToInt(range.substr(0, dash), 0, 65535, first) ||
        !ToInt(dash == std::string::npos ? range.substr(0, dash) : range.substr(dash + 1), first, 65535,
               last) ||
        !ToInt(text.substr(colon + 1), 1, 255, code)) {
        return false;
    }
    rule = {static_cast<uint16_t>(first), static_cast<uint16_t>(last), static_cast<uint8_t>(code)};
    return true;
}

// "CODE[,CODE...]", at most twenty source codes, each decimal or 0x hexadecimal.
bool ToSourceList(const std::string& text, std::vector<uint32_t>& codes) {
    codes.clear();
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const bool hex = item.size() > 2 && item[0] == '0' && (item[1] == 'x' || item[1] == 'X');
        long long code = 0;
        if (codes.size() == 20 || !ToInt(item, 0, 0xFFFFFFFFLL, code, hex ? 16 : 10)) {
            return false;
        }
        codes.push_back(static_cast<uint32_t>(code));
        if (comma == std::string::npos) {
            return true;
        }
        start = comma + 1;
    }
}

}  // namespace

std::string SimUsage() {
    return "Usage: trv730-sim [options]\n"
           "Simulates a TRV-730 network-parameter monitor on Modbus TCP.\n"
           "\n"
           "Device:\n"
           "  --address IP          address to listen on (default 127.0.0.1, loopback only)\n"
           "  --port N              TCP port, 0 for any free one (default 1502)\n"
           "  --type N              device type in register 0 (default 14)\n"
           "  --firmware MAJOR.MINOR  firmware version in register 1 (default 2.4)\n"
           "  --password TEXT       Modbus login password, at most 13 characters (default vexor)\n"
           "  --recording           start with recording switched on\n"
           "  --card DIR            memory card folder: while recording, data files FILE0042.RDF,\n"
           "                        FILE0043.RDF, ... are written here (created when missing)\n"
           "  --sources CODE[,CODE...]  record these source codes (decimal or 0x hex, at most 20)\n"
           "                        in recording slots 1, 2, ... instead of none, e.g.\n"
           "                        0x1,0x1000001,0x2000001 for the voltages of channels 1..3\n"
           "  --prerecord SECONDS   write the recording of the last SECONDS up to now into the\n"
           "                        --card folder at once (with events of channel 1's voltage)\n"
           "                        and end, without serving Modbus\n"
           "  --errors HEX          start with this error word, e.g. 0x5 (default 0)\n"
           "  --restart-ms MS       how long a restart refuses connections (default 1500)\n"
           "  --seed N              seed of the measurement noise (default 1)\n"
           "  --verbose             print one line per request on standard error\n"
           "\n"
           "Faults:\n"
           "  --delay MS            send every answer MS milliseconds late\n"
           "  --late MS[:COUNT]     send the next COUNT answers (default 1) MS milliseconds late,\n"
           "                        after the client gave up, so its next request sees them first\n"
           "  --wrong-unit ID       answer with this unit identifier\n"
           "  --wrong-protocol ID   answer with this protocol identifier\n"
           "  --zero-length         answer with a length field of 0\n"
           "  --exception FIRST[-LAST]:CODE\n"
           "                        refuse requests touching these registers with exception CODE\n"
           "                        (may be given more than once)\n"
           "  --drop-after N        reset each connection on its request after the first N\n"
           "  --refuse-writes FIRST[-LAST]:CODE\n"
           "                        refuse writes touching these registers with exception CODE\n"
           "                        (reads still answer; may be given more than once)\n"
           "  --keep-old FIRST[-LAST]  acknowledge writes touching these registers, but keep\n"
           "                        the old values (may be given more than once)\n"
           "  --silent              accept connections and requests, answer nothing\n"
           "  --silent-after N      answer each connection's first N requests, then nothing\n"
           "\n"
           "  --help                show this text\n"
           "\n"
           "Commands written to register 50: 0x77A6 start and 0x5606 stop recording, 0x5596 reset\n"
           "errors, 0xF2C5 restart (connections are reset), 18220 apply settings.\n"
           "\n"
           "Settings (registers 2000..2221) are stored as written; a value outside its parameter's\n"
           "range is refused with exception 3. The recording settings (events, sources, period,\n"
           "file limit) take effect with the apply command. Registers 21..22 set the clock.\n"
           "\n"
           "With --card, a recording writes a data record every recording period (registers\n"
           "2113..2114) for the sources of registers 2073..2112, and, when event recording\n"
           "(register 2118) is on, event records as the thresholds of registers 2022..2071 trip\n"
           "and clear. A file that reaches the size limit (2115..2116) is followed by the next.\n"
           "Ends on SIGINT or SIGTERM.\n";
}

SimArgsResult ParseSimArgs(const std::vector<std::string>& args, SimConfig& config, std::string& message) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                message = "option " + option + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto bad = [&](const std::string& text) {
            message = "bad value for " + option + ": '" + text + "'";
            return SimArgsResult::Error;
        };
        std::string text;
        long long number = 0;
        if (option == "--help" || option == "-h") {
            return SimArgsResult::Help;
        } else if (option == "--recording") {
            config.recording = true;
        } else if (option == "--verbose") {
            config.verbose = true;
        } else if (option == "--zero-length") {
            config.faults.zeroLength = true;
        } else if (option == "--silent") {
            config.faults.silent = true;
        } else if (option == "--address" || option == "--port" || option == "--type" ||
                   option == "--firmware" || option == "--password" || option == "--errors" ||
                   option == "--restart-ms" || option == "--seed" || option == "--delay" ||
                   option == "--late" || option == "--wrong-unit" || option == "--wrong-protocol" ||
                   option == "--exception" || option == "--drop-after" || option == "--silent-after" ||
                   option == "--card" || option == "--sources" || option == "--refuse-writes" ||
                   option == "--keep-old" || option == "--prerecord") {
            if (!value(text)) {
                return SimArgsResult::Error;
            }
            if (option == "--address") {
                config.address = text;
            } else if (option == "--card") {
                if (text.empty()) {
                    return bad(text);
                }
                config.cardDir = text;
            } else if (option == "--prerecord") {
                if (!ToInt(text, 1, 7 * 86400, number)) {
                    return bad(text);
                }
                config.prerecordSeconds = static_cast<int>(number);
            } else if (option == "--sources") {
                if (!ToSourceList(text, config.recordSources)) {
                    return bad(text);
                }
            } else if (option == "--port") {
                if (!ToInt(text, 0, 65535, number)) {
                    return bad(text);
                }
                config.port = static_cast<int>(number);
            } else if (option == "--type") {
                if (!ToInt(text, 0, 65535, number)) {
                    return bad(text);
                }
                config.deviceType = static_cast<uint16_t>(number);
            } else if (option == "--firmware") {
                if (!ToFirmware(text, config.firmware)) {
                    return bad(text);
                }
            } else if (option == "--password") {
                if (text.size() > 13) {
                    return bad(text);
                }
                config.password = text;
            } else if (option == "--errors") {
                if (!ToInt(text, 0, 0xFFFFFFFFLL, number, 16)) {
                    return bad(text);
                }
                config.errorWord = static_cast<uint32_t>(number);
            } else if (option == "--restart-ms") {
                if (!ToInt(text, 0, 600000, number)) {
                    return bad(text);
                }
                config.restartDownMs = static_cast<int>(number);
            } else if (option == "--seed") {
                if (!ToInt(text, 0, 0xFFFFFFFFLL, number)) {
                    return bad(text);
                }
                config.seed = static_cast<uint32_t>(number);
            } else if (option == "--delay") {
                if (!ToInt(text, 0, 600000, number)) {
                    return bad(text);
                }
                config.faults.delayMs = static_cast<int>(number);
            } else if (option == "--late") {
                const size_t colon = text.find(':');
                long long count = 1;
                if (!ToInt(text.substr(0, colon), 0, 600000, number) ||
                    (colon != std::string::npos && !ToInt(text.substr(colon + 1), 1, 1000000, count))) {
                    return bad(text);
                }
                config.faults.lateMs = static_cast<int>(number);
                config.faults.lateAnswers = static_cast<int>(count);
            } else if (option == "--wrong-unit" || option == "--wrong-protocol") {
                if (!ToInt(text, 0, option == "--wrong-unit" ? 255 : 65535, number)) {
                    return bad(text);
                }
                (option == "--wrong-unit" ? config.faults.unitId : config.faults.protocolId) =
                    static_cast<int>(number);
            } else if (option == "--exception") {
                SimExceptionRule rule;
                if (!ToExceptionRule(text, rule)) {
                    return bad(text);
                }
                config.faults.exceptions.push_back(rule);
            } else if (option == "--refuse-writes" || option == "--keep-old") {
                SimExceptionRule rule;
                // The keep-old fault has no code of its own: it answers as if all went well.
                if (!ToExceptionRule(option == "--keep-old" ? text + ":1" : text, rule)) {
                    return bad(text);
                }
                (option == "--keep-old" ? config.faults.keepOldWrites : config.faults.refuseWrites).push_back(rule);
            } else if (option == "--drop-after") {
                if (!ToInt(text, 0, 1000000000, number)) {
                    return bad(text);
                }
                config.faults.dropAfter = static_cast<int>(number);
            } else if (option == "--silent-after") {
                if (!ToInt(text, 0, 1000000000, number)) {
                    return bad(text);
                }
                config.faults.silentAfter = static_cast<int>(number);
            }
        } else {
            message = "unknown option '" + option + "' (see --help)";
            return SimArgsResult::Error;
        }
    }
    return SimArgsResult::Run;
}
