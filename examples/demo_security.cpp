#include <string>
#include <vector>

#include "demo_sections.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"

namespace demo {
namespace {

std::string Join(const std::vector<unsigned long>& ids, std::size_t shown) {
    std::string out;
    for (std::size_t i = 0; i < ids.size() && i < shown; ++i) {
        out += (i == 0 ? "" : ", ") + std::to_string(ids[i]);
    }
    if (ids.size() > shown) {
        out += ", ... (" + std::to_string(ids.size()) + " in all)";
    }
    return "[" + out + "]";
}

}  // namespace

// The typical request of a server process: one manager per user, then its
// flag, its name, which of some NEs it manages, and all of them.
void RunSecuritySection() {
    Heading("User security scope",
            {"One manager for user 42 (alice): her administrator flag, her login name, which of",
             "four NEs she manages (1001 to 1100 and 3000000000, so not 1200), then all of hers.",
             "Each database query writes a trace record before and after it."});
    qx_standin::ClearJournal();
    const int userId = static_cast<int>(qx_standin::defaults::kAlice);
    CUserSecurityMgr manager(userId);
    Answer("CUserSecurityMgr(" + std::to_string(userId) + ")", "constructed");
    PrintNewRecords();

    Answer("isContainsRoot()", manager.isContainsRoot() ? "true" : "false");

    char name[256] = {};
    const long nameResult = manager.GetLoginName(name);
    Answer("GetLoginName()", std::to_string(nameResult) + ", \"" + name + "\"");
    PrintNewRecords();

    const std::vector<unsigned long> asked{1001, 1050, 1200, 3000000000UL};
    std::vector<unsigned long> managed;
    const long filterResult = manager.GetManagedNE(asked, managed);
    Answer("GetManagedNE(" + Join(asked, 8) + ")",
           std::to_string(filterResult) + ", " + Join(managed, 8));
    PrintNewRecords();

    std::vector<unsigned long> all;
    const long allResult = manager.GetAllManagedNE(all);
    Answer("GetAllManagedNE()", std::to_string(allResult) + ", " + Join(all, 5));
    PrintNewRecords();
}

}  // namespace demo
