// A process built to the row's C++ standard, C++98 included, with
// -pedantic -Werror: it includes every public header, names the result codes
// where only constants may stand, and calls the library on the stand-in as it
// is before any Reset() (no user has a name, no key is registered).
#include "qx_sysevent/qx_sysevent.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// An array bound: one slot per way a reload can end unanswered.
const char* g_unanswered[-qx_sysevent::kReloadUnanswered] = {"unanswered"};

// Case labels; equal codes would not compile.
const char* Named(long code) {
    switch (code) {
        case qx_sysevent::kEventConsumerUnavailable:
            return "kEventConsumerUnavailable";
        case qx_sysevent::kEventKeyAlreadyRegistered:
            return "kEventKeyAlreadyRegistered";
        case qx_sysevent::kUserNameNotDelivered:
            return "kUserNameNotDelivered";
        case qx_sysevent::kDatabaseQueryFailedWithoutCode:
            return "kDatabaseQueryFailedWithoutCode";
        case qx_sysevent::kReloadUnanswered:
            return g_unanswered[0];
        default:
            return "another code";
    }
}

void Handler() {}

}  // namespace

int main() {
    std::map<int, std::string> names;
    const long nameless = CUserSecurityMgr(42).GetAllUser(std::vector<int>(1, 43), names);

    SvrEvent key;
    key.m_strPrimaryKey = "link";
    QXSysEventMgrIF* events = QXSysEventMgrIF::Instance();
    events->RegEventHandler(key, &Handler);
    const long twice = events->RegEventHandler(key, &Handler);
    QXSysEventMgrIF::Destroy();

    std::printf("GetAllUser: %s; RegEventHandler again: %s; version %d\n", Named(nameless),
                Named(twice), QX_SYSEVENT_VERSION_MAJOR);
    return nameless == qx_sysevent::kUserNameNotDelivered &&
                   twice == qx_sysevent::kEventKeyAlreadyRegistered && names.empty()
               ? 0
               : 1;
}
