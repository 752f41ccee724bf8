// The client's own platform: trace library, management database utility and
// node query, scripted per test, journaling every call it receives.
#pragma once

#include <deque>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fake {

struct Platform {
    // Script.
    bool cloud = false;
    bool databaseAvailable = true;
    std::set<unsigned int> admins;
    std::deque<std::pair<int, std::string>> nameAnswers;                  // result, bytes written
    std::deque<std::pair<int, std::vector<unsigned int>>> deviceAnswers;  // result, list

    // What was received, in order. Trace calls show as
    //   QXTrace2Str(5120, "format", int 42, ulong 2)
    //   QXTrace2LogFile("qx_sysevent", 1, "text")
    std::vector<std::string> journal;
    std::vector<std::string> records;  // texts written to the log
    // Set when a write did not pass on, unchanged, the string just formatted.
    bool traceShapeBroken = false;
};

Platform& State();
void Reset();

// The journal without the trace calls.
std::vector<std::string> PlatformCalls();

}  // namespace fake
