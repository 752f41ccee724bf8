// A server process's own test, run against the stand-in platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

using Ids = std::vector<unsigned long>;

// The process's code under test: which of some NEs a user may see.
Ids VisibleNEs(int userId, const Ids& nes) {
    Ids visible;
    CUserSecurityMgr(userId).GetManagedNE(nes, visible);
    return visible;
}

TEST(MyServer, ShowsOnlyTheNEsTheUserManages) {
    qx_standin::Reset();                    // built-in data set, empty journal
    qx_standin::SetManagedNEs(42, {5, 9});  // what the database answers for user 42

    EXPECT_EQ(VisibleNEs(42, {5, 7}), (Ids{5}));
    // The last platform call, as the stand-in journals it: the query and its answer.
    EXPECT_EQ(qx_standin::PlatformCalls().back(),
              "ZorvGetMngDevice(42, {5, 7}, [], 0, false) = 1 [5]");
}

TEST(MyServer, SeesNothingWhenTheQueryFails) {
    qx_standin::Reset();
    qx_standin::QueueMngDeviceAnswer(0, {});  // the next query fails, reporting 0

    EXPECT_EQ(VisibleNEs(42, {1001}), (Ids{}));
    EXPECT_EQ(qx_standin::TraceTexts().back(), "ZorvService error!");
}

TEST(MyServer, LetsPlatformExceptionsThrough) {
    qx_standin::Reset();
    qx_standin::InjectFault(qx_standin::Call::GetMngDevice);  // the next query throws

    EXPECT_THROW(VisibleNEs(42, {1001}), qx_standin::InjectedFault);
}

TEST(MyServer, HearsTheMdpRefuseTheReloadRegistration) {
    qx_standin::Reset();
    qx_standin::QueueSendResponse(9, 3);  // the MDP answers the request (type 9): code 3

    EXPECT_EQ(RegMDPMsgOfProReLoad(1, 2, 3, 4), 3);  // prints "... failed! result = 3"
}

}  // namespace
