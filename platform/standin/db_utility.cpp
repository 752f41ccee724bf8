// The stand-in management database utility and node query.
#include <algorithm>
#include <cstring>
#include <string>

#include "database_state.h"
#include "platform/zorv_db_utility.h"
#include "platform/zorv_sdk_wrap.h"
#include "state.h"

namespace {

using qx_standin::Call;
using qx_standin::CallRecord;
using qx_standin::detail::DatabaseAccess;

const char* Bool(bool value) { return value ? "true" : "false"; }

template <typename Container>
std::string List(const Container& ids) {
    std::string out;
    for (unsigned int id : ids) {
        out += (out.empty() ? "" : ", ") + std::to_string(id);
    }
    return out;
}

CallRecord UserCall(Call call, const char* name, unsigned int userId) {
    CallRecord record(call);
    record.userId = userId;
    record.text = std::string(name) + "(" + std::to_string(record.userId) + ")";
    return record;
}

// The NEs of the user that the filter names (all of them for an empty
// filter), in the database's order.
std::vector<unsigned int> ManagedAmong(const qx_standin::detail::DatabaseState& db,
                                       unsigned int userId, const std::set<unsigned int>* filter) {
    std::vector<unsigned int> out;
    auto user = db.managedNEs.find(userId);
    if (user == db.managedNEs.end()) {
        return out;
    }
    for (unsigned int id : user->second) {
        if (filter == nullptr || filter->empty() || filter->count(id) != 0) {
            out.push_back(id);
        }
    }
    return out;
}

ZorvCommonDBUtility g_utility;

}  // namespace

ZorvCommonDBUtility* ZorvCommonDBUtility::Instance() {
    CallRecord record(Call::DbInstance, "ZorvCommonDBUtility::Instance()");
    qx_standin::detail::CheckFault(record);
    bool available = DatabaseAccess()->available;
    record.text += available ? " = non-null" : " = null";
    qx_standin::detail::Record(std::move(record));
    return available ? &g_utility : nullptr;
}

int ZorvCommonDBUtility::GetAdminID() {
    CallRecord record(Call::GetAdminID, "GetAdminID()");
    qx_standin::detail::CheckFault(record);
    int adminId = DatabaseAccess()->adminId;
    record.text += " = " + std::to_string(adminId);
    qx_standin::detail::Record(std::move(record));
    return adminId;
}

bool ZorvCommonDBUtility::isInAdmins(unsigned int userId) {
    CallRecord record = UserCall(Call::IsInAdmins, "isInAdmins", userId);
    qx_standin::detail::CheckFault(record);
    bool admin = DatabaseAccess()->admins.count(userId) != 0;
    record.text += std::string(" = ") + Bool(admin);
    qx_standin::detail::Record(std::move(record));
    return admin;
}

int ZorvCommonDBUtility::ZorvGetUserName(unsigned int userId, char* name) {
    CallRecord record = UserCall(Call::GetUserName, "ZorvGetUserName", userId);
    qx_standin::detail::CheckFault(record);
    int result = 0;
    std::string written;
    {
        DatabaseAccess db;
        if (!db->userNameAnswers.empty()) {
            result = db->userNameAnswers.front().result;
            written = db->userNameAnswers.front().bytes.substr(0, 256);
            db->userNameAnswers.pop_front();
        } else if (auto user = db->userNames.find(userId); user != db->userNames.end()) {
            result = 1;
            written = user->second.substr(0, 255) + std::string(1, '\0');
        }
    }
    std::copy(written.begin(), written.end(), name);
    record.text +=
        " = " + std::to_string(result) + " \"" + qx_standin::detail::Escape(written) + "\"";
    qx_standin::detail::Record(std::move(record));
    return result;
}

int ZorvCommonDBUtility::ZorvGetMngDevice(unsigned int userId, const std::set<unsigned int>* filter,
                                          std::list<unsigned int>* result, unsigned int arg4,
                                          bool arg5) {
    const bool journaling = qx_standin::detail::Journaling();
    CallRecord record(Call::GetMngDevice);
    record.userId = userId;
    record.filterNull = filter == nullptr;
    record.resultListWasEmpty = result == nullptr || result->empty();
    record.arg4 = arg4;
    record.arg5 = arg5;
    if (journaling) {
        if (filter != nullptr) {
            record.filter.assign(filter->begin(), filter->end());
        }
        std::string list = "null";
        if (result != nullptr) {
            list = "[" + (record.resultListWasEmpty ? std::string() : List(*result)) + "]";
        }
        record.text = "ZorvGetMngDevice(" + std::to_string(record.userId) + ", " +
                      (record.filterNull ? std::string("null") : "{" + List(record.filter) + "}") +
                      ", " + list + ", " + std::to_string(record.arg4) + ", " + Bool(record.arg5) +
                      ")";
    }
    qx_standin::detail::CheckFault(record);

    int code = 1;
    std::vector<unsigned int> answer;
    {
        DatabaseAccess db;
        if (!db->mngDeviceAnswers.empty()) {
            code = db->mngDeviceAnswers.front().result;
            answer = std::move(db->mngDeviceAnswers.front().list);
            db->mngDeviceAnswers.pop_front();
        } else {
            code = db->mngDeviceResult;
            answer = ManagedAmong(*db, userId, filter);
        }
    }
    if (result != nullptr) {
        result->insert(result->end(), answer.begin(), answer.end());
    }
    if (journaling) {
        record.text += " = " + std::to_string(code) + " [" + List(answer) + "]";
        qx_standin::detail::Record(std::move(record));
    }
    return code;
}

bool ns_zorvsdk_wrap::IsCloudNode() {
    CallRecord record(Call::IsCloudNode, "IsCloudNode()");
    qx_standin::detail::CheckFault(record);
    bool cloud = DatabaseAccess()->cloudNode;
    record.text += std::string(" = ") + Bool(cloud);
    qx_standin::detail::Record(std::move(record));
    return cloud;
}
