#include "baselines.h"

#include <list>
#include <string>

#include "platform/qx_trace.h"
#include "platform/zorv_db_utility.h"
#include "platform/zorv_sdk_wrap.h"

namespace qx_bench {

namespace {

using FilterSet = std::set<unsigned int>;
using DeviceList = std::list<unsigned int>;

constexpr unsigned int kLevel = 5120;

template <typename Input>
FilterSet FilterOf(const Input& input) {
    FilterSet filter;
    for (unsigned long id : input) {
        filter.insert(filter.end(), static_cast<unsigned int>(id));
    }
    return filter;
}

int Query(int userId, const FilterSet& filter, DeviceList& devices) {
    return ZorvCommonDBUtility::ZorvGetMngDevice(static_cast<unsigned int>(userId), &filter,
                                                 &devices, 0, false);
}

void CopyInto(const DeviceList& devices, std::vector<unsigned long>& output) {
    output.clear();
    output.reserve(devices.size());
    for (unsigned int id : devices) {
        output.push_back(id);
    }
}

void CopyInto(const DeviceList& devices, std::set<unsigned long>& output) {
    output.clear();
    for (unsigned int id : devices) {
        output.insert(output.end(), id);
    }
}

// The one query and the copy of its answer, as any implementation makes them.
template <typename Output>
long QueryInto(int userId, const FilterSet& filter, Output& output) {
    DeviceList devices;
    const int result = Query(userId, filter, devices);
    if (result != 1) {
        return result;
    }
    CopyInto(devices, output);
    return 0;
}

void WriteRecord(const std::string& text) {
    NSQX_util::QXTrace2LogFile(std::string("qx_sysevent"), 1, text);
}

}  // namespace

long BaselineGetManagedNE(int userId, const std::vector<unsigned long>& input,
                          std::vector<unsigned long>& output) {
    return QueryInto(userId, FilterOf(input), output);
}

long BaselineGetManagedNE(int userId, const std::set<unsigned long>& input,
                          std::set<unsigned long>& output) {
    return QueryInto(userId, FilterOf(input), output);
}

long BaselineGetAllManagedNE(int userId, std::vector<unsigned long>& output) {
    return QueryInto(userId, FilterSet{}, output);
}

bool BaselineIsAdminUserID(unsigned long userId) {
    bool admin = false;
    if (ZorvCommonDBUtility::Instance() != nullptr) {
        admin = ZorvCommonDBUtility::isInAdmins(static_cast<unsigned int>(userId));
    }
    std::string text;
    NSQX_util::QXTrace2Str(
        kLevel, text,
        std::string(admin ? "call pZorv->isInAdmins return true, userid is %d \n"
                          : "call pZorv->isInAdmins return false, userid is %d \n"),
        NSQX_util::QXString(userId));
    WriteRecord(text);
    return admin;
}

bool BaselineIsNeManaged(int userId, unsigned long neId) {
    if (ns_zorvsdk_wrap::IsCloudNode()) {
        return true;
    }
    const FilterSet filter{static_cast<unsigned int>(neId)};
    DeviceList devices;
    std::string request;
    NSQX_util::QXTrace2Str(
        kLevel, request,
        std::string("Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = %d,neId = %d \n"),
        NSQX_util::QXString(userId), NSQX_util::QXString(neId));
    WriteRecord(request);
    const long result = Query(userId, filter, devices);
    std::string answer;
    NSQX_util::QXTrace2Str(kLevel, answer,
                           std::string("Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = %d, "
                                       "userid = %d,lstDeviceOut.size() = %d \n"),
                           NSQX_util::QXString(static_cast<unsigned long>(result)),
                           NSQX_util::QXString(userId),
                           NSQX_util::QXString(static_cast<unsigned long>(devices.size())));
    WriteRecord(answer);
    return result == 1 && !devices.empty();
}

}  // namespace qx_bench
