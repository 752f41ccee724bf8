// The client's own platform: every platform function the library calls is
// defined in the client, where it takes the place of any other at load time.
// It answers as scripted and notes in one journal, in call order, each trace
// record (its text) and each platform call ("Name(arguments) = answer").
#pragma once

#include <ace/OS_NS_Thread.h>

#include <deque>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace own {

struct Platform {
    // The script.
    bool databaseAvailable = true;
    int adminId = 0;
    std::set<unsigned int> admins;
    std::deque<std::pair<int, std::string>> names;                  // answer, bytes written
    std::deque<std::pair<int, std::vector<unsigned int>>> devices;  // answer, NEs added
    bool cloud = false;
    int sendResult = 1;
    bool respond = true;  // a send hands out a new response {echo, result}
    unsigned char echo = 9;
    unsigned char result = 0;
    std::string throwOnRecord;  // the write of this record throws, once
    bool failStaticLock = false;

    // What was seen.
    std::vector<std::string> journal;
    std::vector<std::string> formats;  // per record: "format | int 42 | ulong 5"
    // Trace calls of the wrong level, module or type, and writes of anything
    // but the string just formatted.
    std::vector<std::string> faults;
    ACE_mutex_t* staticLock = nullptr;
    long staticLocks = 0;
    long staticUnlocks = 0;
    const std::string* formattedAt = nullptr;
    std::string formatted;
};

Platform& P();
// Back to the default script with nothing seen.
void Reset();
void ClearJournal();  // and the formats
int PoaInits();
// A response was handed out that the library has not deleted.
bool ResponseOutstanding();

}  // namespace own
