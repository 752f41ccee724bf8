// What the library and the stand-in do, written as plainly as the headers
// describe it: a model of the whole public surface that predicts each call's
// result, the exception it lets through, every journal entry and trace record,
// and what the caller holds afterwards. The state machine test and the fuzz
// target run the real library beside it.
#pragma once

#include <cstdint>
#include <deque>
#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qx_standin/standin.h"

namespace qx_model {

using Lines = std::vector<std::string>;
using Ids = std::vector<unsigned long>;
using DbIds = std::vector<unsigned int>;

// What a platform call of the model throws where the stand-in throws
// InjectedFault.
struct Threw {
    qx_standin::Call call;
};

// A value passed to the trace library: an int (user ids) or an unsigned long.
struct TraceValue {
    bool isSigned;
    std::uint64_t bits;
};
inline TraceValue Int(int v) { return {true, static_cast<std::uint64_t>(static_cast<long>(v))}; }
inline TraceValue Ulong(unsigned long v) { return {false, v}; }

struct SendAnswer {
    int sendResult = 1;
    bool respond = true;
    int echo = 9;
    int result = 0;
};

// The stand-in: its data set, its scripts and faults, and what it kept.
struct Platform {
    bool available = true;
    int adminId = 0;
    std::set<unsigned int> admins;
    std::map<unsigned int, std::string> names;
    std::map<unsigned int, DbIds> managed;
    bool cloud = false;
    int mngResult = 1;
    std::deque<std::pair<int, std::string>> nameAnswers;
    std::deque<std::pair<int, DbIds>> mngAnswers;
    struct Fault {
        qx_standin::Call call;
        unsigned skip;
        unsigned times;
    };
    std::vector<Fault> faults;
    std::vector<std::pair<std::string, unsigned>> traceFaults;
    std::deque<SendAnswer> sends;
    SendAnswer fallback;
    bool journaling = true;
    std::size_t handedOut = 0;
    Lines journal;  // JournalTexts()
    Lines traces;   // TraceTexts()
};

// One CUserSecurityMgr the caller made.
struct Manager {
    int user;
    bool root;
};

// What the caller holds: the library's singletons as it sees them, its
// managers and the containers it passes as outputs.
struct Caller {
    bool registry = false;
    bool facade = false;
    bool consumer = false;  // the library's event consumer (never seen directly)
    std::set<std::pair<std::string, std::string>> keys;
    std::vector<Manager> managers;
    std::list<unsigned long> list;
    Ids vec;
    std::set<unsigned long> set;
    std::map<int, std::string> names;
    std::string buf = std::string(256, 'x');  // GetLoginName's buffer
    std::string printed;
    bool lockFails = false;  // ACE's static object lock cannot be taken
    long locks = 0;          // times it was taken
};

// What an operation through Instance() reads as when Instance() is null.
constexpr long kNoInstance = -1000;

struct Model {
    Platform platform;
    Caller caller;

    // Controls of the stand-in.
    void Reset(bool empty);
    void InjectFault(qx_standin::Call call, unsigned skip, unsigned times);
    void InjectTraceFault(const std::string& needle, unsigned times);
    void ClearJournal();
    void ClearFaults();

    // The library's operations; a platform fault leaves them as Threw.
    bool RegistryInstance();  // whether there is a registry afterwards
    void RegistryDestroy();
    long GetAdminUserID();
    bool IsAdminUserID(unsigned long userId);
    void MakeManager(int userId);
    long GetLoginName(const Manager& m);
    long GetAllUser(const Manager& m, const std::vector<int>& ids);
    bool IsNeManaged(const Manager& m, unsigned long ne);
    long GetAllManagedNE(const Manager& m, bool intoSet);
    // The five GetManagedNE forms: `in` and `out` are "list", "vec" or "set";
    // `input` is the input in its container's order.
    long GetManagedNE(const Manager& m, const std::string& in, const std::string& out,
                      const Ids& input);
    bool FacadeInstance();
    void FacadeDestroy();
    long RegEventHandler(const std::string& primary, const std::string& secondary);
    long SubscribeEvent(bool subscribe);
    int Reload(int a1, int a2, int a3, long a4);

private:
    void Enter(qx_standin::Call call, const std::string& text);
    void Journal(const std::string& text);
    void Trace(const std::string& format, const std::vector<TraceValue>& values = {});
    std::pair<int, DbIds> Query(int user, const std::set<unsigned int>& filter);
    int UserName(int user, std::string& buffer);
    bool IsCloudNode();
    bool ConsumerInstance();
    bool Lock();
};

// A journal text's quoting of bytes, as qx_standin/standin.h describes it.
std::string Escaped(const std::string& bytes);
// "{a, b}" of ids, as the stand-in renders them.
template <typename Items>
std::string Listed(const Items& items) {
    std::string out;
    for (const auto& id : items) {
        out += (out.empty() ? "" : ", ") + std::to_string(id);
    }
    return out;
}

}  // namespace qx_model
