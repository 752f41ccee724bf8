// Controls of the stand-in platform: script its answers, inject failures and
// read back every trace record and platform call. Meant for tests, ours and
// those of processes that load libqx_sysevent.
//
// All of it is thread-safe. Reset() brings back the built-in data set that the
// example process uses; tests call it first.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qx_standin {

// Every platform entry point the stand-in journals or can make fail.
enum class Call {
    TraceFormat,          // NSQX_util::QXTrace2Str (any overload)
    TraceWrite,           // NSQX_util::QXTrace2LogFile
    DbInstance,           // ZorvCommonDBUtility::Instance
    GetAdminID,           // ZorvCommonDBUtility::GetAdminID
    IsInAdmins,           // ZorvCommonDBUtility::isInAdmins
    GetUserName,          // ZorvCommonDBUtility::ZorvGetUserName
    GetMngDevice,         // ZorvCommonDBUtility::ZorvGetMngDevice
    IsCloudNode,          // ns_zorvsdk_wrap::IsCloudNode
    ConsumerCreate,       // ZORVem::EventConsumerProxy constructor
    ConsumerDestroy,      // ZORVem::EventConsumerProxy destructor
    ConsumerUnsubscribe,  // ZORVem::EventConsumerProxy::unsubscribe
    AppMgrInstance,       // ZorvAppMgr::Instance
    SendRegReq,           // ZorvAppMgr::ZorvSendRegReqMsgToMDP
    TaoPoaInit,           // TAO_POA_Initializer::init (stand-in used when TAO is absent)
};

const char* CallName(Call call);

// What an injected failure throws.
struct InjectedFault : std::runtime_error {
    explicit InjectedFault(Call call);
    Call call;
};

// One journal entry. `text` renders the call with its arguments and result in
// one line, e.g.
//   IsCloudNode() = false
//   ZorvGetMngDevice(42, {5, 9}, [], 0, false) = 1 [5]
//   QXTrace2Str(5120, "userid is %d \n", 42)
//   QXTrace2LogFile("qx_sysevent", 1, "userid is 42 \n")
// The structured fields hold what the text shows, where they apply.
struct CallRecord {
    explicit CallRecord(Call c, std::string t = {}) : call(c), text(std::move(t)) {}

    Call call;
    std::string text;
    std::uint64_t userId = 0;          // user id as the platform received it
    std::vector<unsigned int> filter;  // ZorvGetMngDevice: filter set, ascending
    bool filterNull = false;
    bool resultListWasEmpty = true;   // ZorvGetMngDevice: list empty on entry
    unsigned int arg4 = 0;            // ZorvGetMngDevice: 4th argument
    bool arg5 = false;                // ZorvGetMngDevice: 5th argument
    std::vector<std::int64_t> args;   // other integral arguments, in order
    std::vector<std::uint8_t> bytes;  // SendRegReq: the 24 request bytes
    bool threw = false;               // an injected fault left the call
};

// A written trace record (one QXTrace2LogFile call).
struct TraceRecord {
    std::string module;
    int type = 0;
    std::string text;
};

// ---- Whole stand-in -------------------------------------------------------

// Built-in data set back, scripts and faults gone, journal and records empty,
// journaling on, no log file.
void Reset();
// Like Reset() but with no users, administrators or NEs at all.
void ResetEmpty();

// ---- Journal --------------------------------------------------------------

std::vector<CallRecord> Journal();        // every entry, in call order
std::vector<std::string> JournalTexts();  // their texts
// Entries other than trace calls and TaoPoaInit: what the library asked of
// the platform proper.
std::vector<std::string> PlatformCalls();
std::size_t CountCalls(Call call);
void ClearJournal();  // also clears the trace records
// Off: nothing is journaled and no record kept (benchmarks, soaks). On by
// default and after Reset().
void SetJournaling(bool on);

// ---- Trace library --------------------------------------------------------

std::vector<TraceRecord> TraceRecords();
std::vector<std::string> TraceTexts();  // texts of TraceRecords()
// Appends every record, one per line, to this file; "" stops it.
void SetTraceLogFile(const std::string& path);

// ---- Failure injection ----------------------------------------------------

// After `skip` further calls of this kind that succeed, the next `times` calls
// throw InjectedFault. Trace calls included; not ConsumerDestroy nor TaoPoaInit,
// a destructor and a load-time call that must not throw. Faults injected for
// the same call take turns: a later one starts counting when the earlier ones
// are spent.
void InjectFault(Call call, unsigned skip = 0, unsigned times = 1);
// Only trace records whose rendered text contains `needle` throw (at the
// write), `times` of them.
void InjectTraceFault(const std::string& needle, unsigned times = 1);
void ClearFaults();

// ---- Management database --------------------------------------------------

void SetDatabaseAvailable(bool available);                 // Instance() null when false
void SetAdminId(int adminId);                              // what GetAdminID() answers
void SetAdmins(const std::vector<unsigned int>& userIds);  // isInAdmins
void SetUserName(unsigned int userId, const std::string& name);
// The NEs a user manages, in the order the database lists them.
void SetManagedNEs(unsigned int userId, const std::vector<unsigned int>& neIds);
void SetCloudNode(bool cloud);

// Scripted answers, used first-in first-out before the data set is asked.
// ZorvGetUserName: return `result` and write exactly `bytes` (at most 256,
// nothing added: include the NUL yourself) into the caller's buffer.
void QueueUserNameAnswer(int result, const std::string& bytes);
// ZorvGetMngDevice: return `result` with exactly `list` appended to the
// result list, whatever the filter.
void QueueMngDeviceAnswer(int result, const std::vector<unsigned int>& list);
// Every ZorvGetMngDevice without a queued answer returns `result` (1 by
// default); its list is computed from the data set whatever the result.
void SetMngDeviceResult(int result);

// The built-in data set, for demos and tests that want to name its parts.
namespace defaults {
inline constexpr int kAdminId = 1;
inline constexpr unsigned int kAlice = 42;  // manages NEs 1001..1100, 3000000000
inline constexpr unsigned int kBob = 43;    // manages the even NEs of 1001..1300
inline constexpr unsigned int kCarol = 44;  // manages none
}  // namespace defaults

}  // namespace qx_standin
