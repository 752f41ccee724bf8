#include "qx_sysevent/user_security_mgr.h"

#include <cstring>

#include "common/trace_record.h"
#include "platform/zorv_db_utility.h"
#include "qx_sysevent/result_codes.h"
#include "qx_sysevent/user_id_mgr.h"
#include "security/managed_ne_filter.h"
#include "security/managed_ne_query.h"
#include "security/ne_containers.h"

namespace {

using qx::security::DeviceList;
using qx::security::FilterRecordTexts;
using qx::security::FilterSet;

constexpr int kUserNameFound = 1;
// What the database utility may write into a name buffer.
constexpr std::size_t kNameBufferSize = 256;

constexpr const char* kAllManagedRequest =
    "Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = %d,GetAllManagedNE \n";
constexpr const char* kNoManagedNe =
    "Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = %d \n";

constexpr const char* kListRequest =
    "Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = %d,listNE.size() = %d \n";
constexpr const char* kVectorRequest =
    "Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = %d,vecNE.size() = %d \n";
constexpr const char* kSetRequest =
    "Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = %d,setNE.size() = %d \n";
constexpr const char* kListAnswer =
    "Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = %d, userid = %d,"
    "listManagedNE.size() = %d \n";
constexpr const char* kVectorAnswer =
    "Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = %d, userid = %d,"
    "vecManagedNE.size() = %d \n";
constexpr const char* kSetAnswer =
    "Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = %d, userid = %d,"
    "setManagedNE.size() = %d \n";

// Asks the administrator registry about the user. The registry keeps no
// state, so when its instance cannot be had (the static object lock failed)
// a local one gives the same answer without calling through a null pointer.
bool AskAdministratorRegistry(int userId) {
    TEUserIDMgr* registry = TEUserIDMgr::Instance();
    TEUserIDMgr local;
    if (registry == nullptr) {
        registry = &local;
    }
    return registry->IsAdminUserID(static_cast<unsigned long>(static_cast<long>(userId)));
}

}  // namespace

// Callers allocate these objects as they were built. The interface baseline
// pins the size and the members' offsets, but not an alignment raised alone.
static_assert(alignof(CUserSecurityMgr) == 4);

// The binary interface fixes which operations are const: only isNeManaged.
// NOLINTBEGIN(readability-make-member-function-const)

CUserSecurityMgr::CUserSecurityMgr(int userId)
    : m_nUserID(userId), m_bContainsRoot(AskAdministratorRegistry(userId)) {}

bool CUserSecurityMgr::isContainsRoot() { return m_bContainsRoot; }

long CUserSecurityMgr::GetLoginName(char* name) {
    if (ZorvCommonDBUtility::ZorvGetUserName(static_cast<unsigned int>(m_nUserID), name) ==
        kUserNameFound) {
        return 0;
    }
    qx::TraceRecord("ZorvGetUserName is failed!");
    return qx_sysevent::kUserNameNotDelivered;
}

long CUserSecurityMgr::GetAllUser(const std::vector<int>& userIds,
                                  std::map<int, std::string>& names) {
    char buffer[kNameBufferSize];
    std::memset(buffer, 0, sizeof buffer);
    for (int id : userIds) {
        const int found =
            ZorvCommonDBUtility::ZorvGetUserName(static_cast<unsigned int>(id), buffer);
        // The utility may fill the whole buffer; the name ends at 255 bytes.
        buffer[kNameBufferSize - 1] = '\0';
        if (found != kUserNameFound) {
            qx::TraceRecord("ZorvGetUserName failed!");
            return qx_sysevent::kUserNameNotDelivered;
        }
        names.try_emplace(id, buffer);
    }
    return 0;
}

bool CUserSecurityMgr::isNeManaged(unsigned long neId) const {
    if (ns_zorvsdk_wrap::IsCloudNode()) {
        return true;
    }
    // Narrowed, a wider id would be answered as a different NE.
    if (neId > qx::security::kWidestDatabaseNeId) {
        return false;
    }
    const FilterSet filter{static_cast<unsigned int>(neId)};
    DeviceList lstDeviceOut;
    qx::TraceRecord("Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = %d,neId = %d \n",
                    m_nUserID, neId);
    const long retCode = qx::security::QueryManagedDevices(m_nUserID, filter, lstDeviceOut);
    qx::TraceRecord(
        "Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = %d, userid = %d,"
        "lstDeviceOut.size() = %d \n",
        static_cast<unsigned long>(retCode), m_nUserID,
        static_cast<unsigned long>(lstDeviceOut.size()));
    if (retCode != qx::security::kQuerySucceeded) {
        qx::TraceRecord(qx::security::kServiceErrorText);
        return false;
    }
    return !lstDeviceOut.empty();
}

long CUserSecurityMgr::GetAllManagedNE(std::vector<unsigned long>& vecNE) {
    const FilterSet filter;
    DeviceList devices;
    qx::TraceRecord(kAllManagedRequest, m_nUserID);
    const long retCode = qx::security::QueryManagedDevices(m_nUserID, filter, devices);
    qx::TraceRecord(
        "Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = %d, userid = %d,"
        "vecNE.size() = %d \n",
        static_cast<unsigned long>(retCode), m_nUserID, static_cast<unsigned long>(devices.size()));
    if (retCode != qx::security::kQuerySucceeded) {
        qx::TraceRecord("ZorvService error! retcode = %d\n", static_cast<unsigned long>(retCode));
        return qx::security::FailedQueryResult(retCode);
    }
    qx::security::ReplaceWithDevices(vecNE, devices);
    if (vecNE.empty()) {
        qx::TraceRecord(kNoManagedNe, m_nUserID);
    }
    return 0;
}

// Unlike the vector form, this one returns the query's result as it is (1 on
// success) and takes whatever the database answered, even after a failure.
long CUserSecurityMgr::GetAllManagedNE(std::set<unsigned long>& setNE) {
    const FilterSet filter;
    DeviceList devices;
    qx::TraceRecord(kAllManagedRequest, m_nUserID);
    const long retCode = qx::security::QueryManagedDevices(m_nUserID, filter, devices);
    qx::TraceRecord(
        "Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = %d, userid = %d,"
        "setNE.size() = %d \n",
        static_cast<unsigned long>(retCode), m_nUserID, static_cast<unsigned long>(devices.size()));
    qx::security::ReplaceWithDevices(setNE, devices);
    if (setNE.empty()) {
        qx::TraceRecord(kNoManagedNe, m_nUserID);
    }
    return retCode;
}

long CUserSecurityMgr::GetManagedNE(const std::list<unsigned long>& listNE,
                                    std::list<unsigned long>& listManagedNE) {
    return qx::security::FilterManagedNEs(m_nUserID, listNE, listManagedNE,
                                          FilterRecordTexts{kListRequest, kListAnswer});
}

long CUserSecurityMgr::GetManagedNE(const std::vector<unsigned long>& vecNE,
                                    std::vector<unsigned long>& vecManagedNE) {
    return qx::security::FilterManagedNEs(m_nUserID, vecNE, vecManagedNE,
                                          FilterRecordTexts{kVectorRequest, kVectorAnswer});
}

long CUserSecurityMgr::GetManagedNE(const std::set<unsigned long>& setNE,
                                    std::vector<unsigned long>& vecManagedNE) {
    return qx::security::FilterManagedNEs(m_nUserID, setNE, vecManagedNE,
                                          FilterRecordTexts{kSetRequest, kVectorAnswer});
}

long CUserSecurityMgr::GetManagedNE(const std::set<unsigned long>& setNE,
                                    std::set<unsigned long>& setManagedNE) {
    return qx::security::FilterManagedNEs(m_nUserID, setNE, setManagedNE,
                                          FilterRecordTexts{kSetRequest, kSetAnswer});
}

long CUserSecurityMgr::GetManagedNE(const std::vector<unsigned long>& vecNE,
                                    std::set<unsigned long>& setManagedNE) {
    return qx::security::FilterManagedNEs(m_nUserID, vecNE, setManagedNE,
                                          FilterRecordTexts{kVectorRequest, kSetAnswer});
}

// NOLINTEND(readability-make-member-function-const)
