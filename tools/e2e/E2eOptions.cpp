#include "tools/e2e/E2eOptions.h"

#include <cstdlib>

const char* const E2eOptions::usage =
    "usage: korvelt-e2e [--levels N] [--start L] [--shuffles K] [--seed S] [--realtime]\n"
    "                   [--keep-data DIR] [--screenshots DIR] [--game DIR] [--verbose] [--record PREFIX]";

namespace {
bool ParseNumber(const std::string& text, long long low, long long high, long long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return end != nullptr && *end == '\0' && value >= low && value <= high;
}
} // namespace

bool E2eOptions::Parse(const std::vector<std::string>& args, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--help" || a == "-h") {
            help = true;
        } else if (a == "--realtime") {
            realtime = true;
        } else if (a == "--verbose") {
            verbose = true;
        } else if (a == "--levels" || a == "--seed") {
            long long v = 0;
            if (!hasValue || !ParseNumber(args[i + 1], a == "--levels" ? 1 : 0, a == "--levels" ? 1000 : 0xFFFFFFFFLL, v)) {
                error = a + " needs a number" + (a == "--levels" ? " from 1 to 1000" : "");
                return false;
            }
            if (a == "--levels")
                levels = static_cast<int>(v);
            else
                seed = static_cast<unsigned>(v);
            ++i;
        } else if (a == "--start" || a == "--shuffles") {
            long long v = 0;
            bool isStart = a == "--start";
            if (!hasValue || !ParseNumber(args[i + 1], isStart ? 1 : 0, isStart ? 60 : 5, v)) {
                error = a + (isStart ? " needs a level from 1 to 60" : " needs a number from 0 to 5");
                return false;
            }
            (isStart ? start : shuffles) = static_cast<int>(v);
            ++i;
        } else if (a == "--record") {
            if (!hasValue || args[i + 1].empty()) {
                error = a + " needs a file name prefix";
                return false;
            }
            record = args[++i];
        } else if (a == "--keep-data" || a == "--screenshots" || a == "--game") {
            if (!hasValue || args[i + 1].empty()) {
                error = a + " needs a folder";
                return false;
            }
            (a == "--keep-data" ? keepData : a == "--screenshots" ? screenshots : game) = args[++i];
        } else {
            error = "unknown argument \"" + a + "\"";
            return false;
        }
    }
    return true;
}
