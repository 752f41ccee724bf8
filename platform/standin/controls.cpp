// The controls of qx_standin/standin.h.
#include <algorithm>
#include <mutex>

#include "app_mgr_state.h"
#include "database_state.h"
#include "qx_standin/standin.h"
#include "standin_internal.h"

namespace qx_standin {

namespace {

using detail::DatabaseAccess;
using detail::GetShared;

// Frees the memory too: a long soak's journal is not kept for the next case.
void ClearRecords(detail::Shared& s) {
    s.journal = std::vector<CallRecord>();
    s.traces = std::vector<TraceRecord>();
}

void ResetTo(detail::DatabaseState database) {
    detail::Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    ClearRecords(s);
    s.journaling = true;
    s.faults.clear();
    s.traceFaults.clear();
    s.logPath.clear();
    s.database = std::move(database);
}

bool IsTraceCall(Call call) {
    return call == Call::TraceFormat || call == Call::TraceWrite || call == Call::TaoPoaInit;
}

}  // namespace

const char* CallName(Call call) {
    switch (call) {
        case Call::TraceFormat:
            return "QXTrace2Str";
        case Call::TraceWrite:
            return "QXTrace2LogFile";
        case Call::DbInstance:
            return "ZorvCommonDBUtility::Instance";
        case Call::GetAdminID:
            return "ZorvCommonDBUtility::GetAdminID";
        case Call::IsInAdmins:
            return "ZorvCommonDBUtility::isInAdmins";
        case Call::GetUserName:
            return "ZorvCommonDBUtility::ZorvGetUserName";
        case Call::GetMngDevice:
            return "ZorvCommonDBUtility::ZorvGetMngDevice";
        case Call::IsCloudNode:
            return "ns_zorvsdk_wrap::IsCloudNode";
        case Call::ConsumerCreate:
            return "ZORVem::EventConsumerProxy::EventConsumerProxy";
        case Call::ConsumerDestroy:
            return "ZORVem::EventConsumerProxy::~EventConsumerProxy";
        case Call::ConsumerUnsubscribe:
            return "ZORVem::EventConsumerProxy::unsubscribe";
        case Call::AppMgrInstance:
            return "ZorvAppMgr::Instance";
        case Call::SendRegReq:
            return "ZorvAppMgr::ZorvSendRegReqMsgToMDP";
        case Call::TaoPoaInit:
            return "TAO_POA_Initializer::init";
    }
    return "unknown";
}

void Reset() {
    ResetTo(detail::DefaultDatabase());
    detail::ResetAppMgr();
}

void ResetEmpty() {
    ResetTo(detail::DatabaseState{});
    detail::ResetAppMgr();
}

std::vector<CallRecord> Journal() {
    detail::Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.journal;
}

std::vector<std::string> JournalTexts() {
    std::vector<std::string> texts;
    for (const CallRecord& record : Journal()) {
        texts.push_back(record.text);
    }
    return texts;
}

std::vector<std::string> PlatformCalls() {
    std::vector<std::string> texts;
    for (const CallRecord& record : Journal()) {
        if (!IsTraceCall(record.call)) {
            texts.push_back(record.text);
        }
    }
    return texts;
}

std::size_t CountCalls(Call call) {
    detail::Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return static_cast<std::size_t>(
        std::count_if(s.journal.begin(), s.journal.end(),
                      [call](const CallRecord& record) { return record.call == call; }));
}

void ClearJournal() {
    detail::Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    ClearRecords(s);
}

void SetJournaling(bool on) {
    detail::Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.journaling = on;
}

std::vector<TraceRecord> TraceRecords() {
    detail::Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.traces;
}

std::vector<std::string> TraceTexts() {
    std::vector<std::string> texts;
    for (const TraceRecord& record : TraceRecords()) {
        texts.push_back(record.text);
    }
    return texts;
}

void SetTraceLogFile(const std::string& path) {
    detail::Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.logPath = path;
}

void InjectFault(Call call, unsigned skip, unsigned times) {
    if (times == 0) {
        return;
    }
    detail::Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.faults.push_back(detail::Fault{call, skip, times});
}

void InjectTraceFault(const std::string& needle, unsigned times) {
    if (times == 0) {
        return;
    }
    detail::Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.traceFaults.push_back(detail::TraceFault{needle, times});
}

void ClearFaults() {
    detail::Shared& s = GetShared();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.faults.clear();
    s.traceFaults.clear();
}

void SetDatabaseAvailable(bool available) { DatabaseAccess()->available = available; }

void SetAdminId(int adminId) { DatabaseAccess()->adminId = adminId; }

void SetAdmins(const std::vector<unsigned int>& userIds) {
    DatabaseAccess()->admins = std::set<unsigned int>(userIds.begin(), userIds.end());
}

// The name is copied before a new user's entry is made: out of memory, no
// user is left with an empty name.
void SetUserName(unsigned int userId, const std::string& name) {
    std::string copy = name;
    DatabaseAccess()->userNames[userId] = std::move(copy);
}

void SetManagedNEs(unsigned int userId, const std::vector<unsigned int>& neIds) {
    DatabaseAccess()->managedNEs[userId] = neIds;
}

void SetCloudNode(bool cloud) { DatabaseAccess()->cloudNode = cloud; }

void QueueUserNameAnswer(int result, const std::string& bytes) {
    DatabaseAccess()->userNameAnswers.push_back(detail::UserNameAnswer{result, bytes});
}

void QueueMngDeviceAnswer(int result, const std::vector<unsigned int>& list) {
    DatabaseAccess()->mngDeviceAnswers.push_back(detail::MngDeviceAnswer{result, list});
}

void SetMngDeviceResult(int result) { DatabaseAccess()->mngDeviceResult = result; }

}  // namespace qx_standin
