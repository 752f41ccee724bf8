// The exact records and platform calls of the user security scope, as the
// tests expect to find them in the stand-in's journal.
#pragma once

#include <string>
#include <vector>

namespace security_test {

inline constexpr long kUserNameNotDelivered = 0x42008125;
inline constexpr long kQueryFailedWithoutCode = 0x42008126;
inline constexpr unsigned long kFirstWideNeId = 1UL << 32;

inline std::string AdminCheckRecord(bool admin, unsigned long userId) {
    return std::string("call pZorv->isInAdmins return ") + (admin ? "true" : "false") +
           ", userid is " + std::to_string(userId) + " \n";
}

// R1 of a filtering call; `kind` is listNE, vecNE or setNE.
inline std::string FilterRequestRecord(const std::string& kind, int userId,
                                       unsigned long filterEntries) {
    return "Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = " + std::to_string(userId) + "," +
           kind + ".size() = " + std::to_string(filterEntries) + " \n";
}

// R2 of every query; `kind` names the counted container (vecManagedNE,
// lstDeviceOut, setNE, ...). The result shows as its 64-bit unsigned value.
inline std::string AnswerRecord(const std::string& kind, long retCode, int userId,
                                unsigned long answered) {
    return "Call ZorvCommonDBUtility::ZorvGetMngDevice ,retCode = " +
           std::to_string(static_cast<unsigned long>(retCode)) +
           ", userid = " + std::to_string(userId) + "," + kind +
           ".size() = " + std::to_string(answered) + " \n";
}

inline std::string NeCheckRecord(int userId, unsigned long neId) {
    return "Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = " + std::to_string(userId) +
           ",neId = " + std::to_string(neId) + " \n";
}

inline std::string AllManagedRecord(int userId) {
    return "Call ZorvCommonDBUtility::ZorvGetMngDevice ,userid = " + std::to_string(userId) +
           ",GetAllManagedNE \n";
}

inline std::string NoManagedNeRecord(int userId) {
    return "Call ZorvCommonDBUtility::ZorvGetMngDevice get 0 ne, userid = " +
           std::to_string(userId) + " \n";
}

inline const std::string kServiceError = "ZorvService error!";

// The journal text of one ZorvGetMngDevice call.
inline std::string MngDeviceCall(unsigned int userId, const std::vector<unsigned int>& filter,
                                 int result, const std::vector<unsigned int>& answer) {
    auto join = [](const std::vector<unsigned int>& ids) {
        std::string out;
        for (unsigned int id : ids) {
            out += (out.empty() ? "" : ", ") + std::to_string(id);
        }
        return out;
    };
    return "ZorvGetMngDevice(" + std::to_string(userId) + ", {" + join(filter) +
           "}, [], 0, false) = " + std::to_string(result) + " [" + join(answer) + "]";
}

inline std::string CloudCall(bool cloud) {
    return std::string("IsCloudNode() = ") + (cloud ? "true" : "false");
}

}  // namespace security_test
