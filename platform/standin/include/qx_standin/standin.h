/// @file
/// Controls of the stand-in platform: script its answers, inject failures and
/// read back every trace record and platform call. Including this header is
/// enough for every control, the application manager's
/// (qx_standin/app_mgr.h) included.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// The application manager's controls are part of scripting the platform.
#include "qx_standin/app_mgr.h"

/// The stand-in platform (libqx_platform_standin.so): the platform calls that
/// libqx_sysevent makes, answered from a small data set, and the controls
/// that tests of a process use to script those answers and read back what
/// the library asked and wrote. Link it in place of the real platform.
///
/// Every control is thread-safe. Until Reset() or ResetEmpty() is first
/// called, the stand-in answers as after ResetEmpty() (the MDP accepts every
/// registration); tests call Reset() before each case.
///
/// Exceptions: the controls throw nothing of their own; those that copy or
/// store data may throw std::bad_alloc, and then change nothing. The platform calls throw
/// InjectedFault when InjectFault() or InjectTraceFault() says so, and
/// otherwise only std::bad_alloc when memory runs out: no fault is then
/// spent, and a trace record is kept in the journal and in TraceRecords()
/// alike, or in neither.
namespace qx_standin {

/// Every platform entry point the stand-in journals or can make fail.
enum class Call {
    TraceFormat,          ///< NSQX_util::QXTrace2Str (any overload)
    TraceWrite,           ///< NSQX_util::QXTrace2LogFile
    DbInstance,           ///< ZorvCommonDBUtility::Instance
    GetAdminID,           ///< ZorvCommonDBUtility::GetAdminID
    IsInAdmins,           ///< ZorvCommonDBUtility::isInAdmins
    GetUserName,          ///< ZorvCommonDBUtility::ZorvGetUserName
    GetMngDevice,         ///< ZorvCommonDBUtility::ZorvGetMngDevice
    IsCloudNode,          ///< ns_zorvsdk_wrap::IsCloudNode
    ConsumerCreate,       ///< ZORVem::EventConsumerProxy constructor
    ConsumerDestroy,      ///< ZORVem::EventConsumerProxy destructor
    ConsumerUnsubscribe,  ///< ZORVem::EventConsumerProxy::unsubscribe
    AppMgrInstance,       ///< ZorvAppMgr::Instance
    SendRegReq,           ///< ZorvAppMgr::ZorvSendRegReqMsgToMDP
    TaoPoaInit,           ///< TAO_POA_Initializer::init (stand-in used when TAO is absent)
};

/// The platform function that `call` stands for.
/// @return its name, qualified by its class or namespace but for the trace
/// library's two ("QXTrace2Str", "QXTrace2LogFile"), e.g.
/// "ZorvCommonDBUtility::ZorvGetMngDevice"; "unknown" for a value outside Call.
const char* CallName(Call call);

/// What an injected failure throws: a std::runtime_error whose what() is
/// "injected fault in " followed by CallName() of the call.
struct InjectedFault : std::runtime_error {
    /// A fault of `call`.
    explicit InjectedFault(Call call);
    /// The platform call that threw.
    Call call;
};

/// One journal entry: one platform call. `text` renders the call with its
/// arguments and result in one line, e.g.
/// @code{.unparsed}
/// IsCloudNode() = false
/// ZorvGetMngDevice(42, {5, 9}, [], 0, false) = 1 [5]
/// QXTrace2Str(5120, "userid is %d \n", int 42)
/// QXTrace2LogFile("qx_sysevent", 1, "userid is 42 \n")
/// @endcode
/// Strings are rendered escaped: a newline as `\n`, a quote or backslash with
/// a backslash before it, other bytes outside printable ASCII as `\xNN`. A
/// call that threw an injected fault ends in " threw" instead of its result.
/// The structured fields hold what the text shows, where they apply.
struct CallRecord {
    /// An entry for `c` with the text `t`.
    explicit CallRecord(Call c, std::string t = {}) : call(c), text(std::move(t)) {}

    Call call;                         ///< which entry point was called
    std::string text;                  ///< the call rendered, as above
    std::uint64_t userId = 0;          ///< user id as the platform received it
    std::vector<unsigned int> filter;  ///< ZorvGetMngDevice: filter set, ascending
    bool filterNull = false;           ///< ZorvGetMngDevice: the filter was null
    bool resultListWasEmpty = true;    ///< ZorvGetMngDevice: list empty on entry
    unsigned int arg4 = 0;             ///< ZorvGetMngDevice: 4th argument
    bool arg5 = false;                 ///< ZorvGetMngDevice: 5th argument
    std::vector<std::int64_t> args;    ///< other integral arguments, in order
    std::vector<std::uint8_t> bytes;   ///< SendRegReq: the 24 request bytes
    bool threw = false;                ///< an injected fault left the call
};

/// A written trace record (one QXTrace2LogFile call that did not throw).
struct TraceRecord {
    std::string module;  ///< "qx_sysevent" for every record of the library
    int type = 0;        ///< 1 for every record of the library
    std::string text;    ///< the rendered text, as the log holds it
};

// ---- Whole stand-in -------------------------------------------------------

/// Brings back the built-in data set (users 1 "admin", 42 "alice", 43 "bob",
/// 44 "carol", 100 "noc-operator"; administrator 1; NEs as in defaults), ends
/// every script and fault, empties the journal and the trace records, turns
/// journaling on and stops the log file. The MDP accepts every registration.
void Reset();
/// As Reset(), but with no users, administrators or NEs at all
/// (GetAdminID() answers 0). No control takes a user out of a data set:
/// start from here and add the users a case needs.
void ResetEmpty();

// ---- Journal --------------------------------------------------------------

/// Every journal entry, in call order.
/// @return a copy of the journal. While journaling is off nothing is added
/// to it; the entries made before stay until it is cleared.
std::vector<CallRecord> Journal();
/// The texts of Journal().
/// @return CallRecord::text of every entry, in call order.
std::vector<std::string> JournalTexts();
/// What the library asked of the platform proper.
/// @return the texts of the entries other than trace calls and TaoPoaInit,
/// in call order.
std::vector<std::string> PlatformCalls();
/// How often `call` was made since the journal was last cleared.
/// @return the number of journal entries of `call`, those that threw
/// included.
std::size_t CountCalls(Call call);
/// Empties the journal and the trace records.
void ClearJournal();
/// Off: nothing is journaled and no trace record kept, for benchmarks and
/// soaks; faults and the log file still work. On by default and after
/// Reset().
void SetJournaling(bool on);

// ---- Trace library --------------------------------------------------------

/// Every trace record written since the journal was last cleared.
/// @return the records, in the order written.
std::vector<TraceRecord> TraceRecords();
/// The texts of TraceRecords().
/// @return TraceRecord::text of every record, in the order written.
std::vector<std::string> TraceTexts();
/// Appends every record from now on to the file at `path`, one per line
/// ("module type text", a newline added when the text has none); "" stops
/// it. A file that cannot be opened is skipped silently.
void SetTraceLogFile(const std::string& path);

// ---- Failure injection ----------------------------------------------------

/// After `skip` further calls of this kind that succeed, the next `times`
/// calls throw InjectedFault, journaled with CallRecord::threw set. Trace
/// calls included; not ConsumerDestroy nor TaoPoaInit, a destructor and a
/// load-time call that must not throw. Faults injected for the same call take
/// turns: a later one starts counting when the earlier ones are spent.
/// `times` 0 injects nothing.
void InjectFault(Call call, unsigned skip = 0, unsigned times = 1);
/// The next `times` trace records whose rendered text contains `needle`
/// throw InjectedFault (of Call::TraceWrite) at the write, and are not kept.
/// `times` 0 injects nothing.
void InjectTraceFault(const std::string& needle, unsigned times = 1);
/// Drops every fault not yet spent.
void ClearFaults();

// ---- Management database --------------------------------------------------

/// False: ZorvCommonDBUtility::Instance() answers null.
void SetDatabaseAvailable(bool available);
/// What ZorvCommonDBUtility::GetAdminID() answers.
void SetAdminId(int adminId);
/// The users that ZorvCommonDBUtility::isInAdmins() lists, replacing the
/// earlier list.
void SetAdmins(const std::vector<unsigned int>& userIds);
/// The user's name (up to 255 bytes are delivered), added or replaced.
void SetUserName(unsigned int userId, const std::string& name);
/// The NEs a user manages, in the order the database lists them, replacing
/// the user's earlier list.
void SetManagedNEs(unsigned int userId, const std::vector<unsigned int>& neIds);
/// What ns_zorvsdk_wrap::IsCloudNode() answers; false after Reset().
void SetCloudNode(bool cloud);

/// Scripts a ZorvGetUserName answer, first-in first-out before the data set
/// is asked: it returns `result` (1 is success) and writes exactly `bytes`
/// (at most 256, nothing added: include the NUL yourself) into the caller's
/// buffer.
void QueueUserNameAnswer(int result, const std::string& bytes);
/// Scripts a ZorvGetMngDevice answer, first-in first-out before the data set
/// is asked: it returns `result` with exactly `list` appended to the result
/// list, whatever the filter (the library passes the answer on as it is).
void QueueMngDeviceAnswer(int result, const std::vector<unsigned int>& list);
/// What every ZorvGetMngDevice without a queued answer returns (1, success,
/// after Reset()); its list is computed from the data set whatever the
/// result.
void SetMngDeviceResult(int result);

/// The built-in data set of Reset(), for demos and tests that want to name
/// its parts.
namespace defaults {
/// The administrator's user id ("admin"); admin manages NEs 1001..1300
/// and NE 3000000000.
constexpr int kAdminId = 1;
/// "alice": manages NEs 1001..1100 and 3000000000.
constexpr unsigned int kAlice = 42;
/// "bob": manages the even NEs of 1001..1300.
constexpr unsigned int kBob = 43;
/// "carol": manages none.
constexpr unsigned int kCarol = 44;
}  // namespace defaults

}  // namespace qx_standin
