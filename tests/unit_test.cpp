// What no sequence of the state machine reaches: a registry another thread
// made while this one waited for the lock, the reload request byte by byte,
// the stand-in out of memory, each allocation of a query failing, a fault
// amid GetAllUser's names, a vector as its own input, and the order of event
// keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "platform/qx_trace.h"
#include "platform/zorv_db_utility.h"
#include "platform/zorv_sdk_wrap.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"
#include "seams.h"

namespace {

using qx_standin::Call;

// A registry another thread made while this one waited for the lock is the
// one returned, and the only one.
TEST(Singletons, MadeWhileWaitingForTheLockIsTheOneReturned) {
    qx_test::ResetStaticLock();
    TEUserIDMgr::Destroy();
    auto* made = new TEUserIDMgr;
    qx_test::BeforeNextLock([made] { TEUserIDMgr::m_pInstance = made; });
    EXPECT_EQ(TEUserIDMgr::Instance(), made);
    TEUserIDMgr::Destroy();
}

// The reload request byte by byte on either byte order: the type, each field
// at its offset and in its width, every other byte zero though the stack was not.
TEST(ReloadRequest, LaidOutInTheHostsByteOrder) {
    qx_standin::Reset();
    qx_test::DirtyStack();
    EXPECT_EQ(RegMDPMsgOfProReLoad(0x1'2345, -2, 300, 0x1'1234'5678), 0);
    EXPECT_EQ(
        qx_standin::PlatformCalls().back(),
        std::string("ZorvSendRegReqMsgToMDP(20, [") +
            (std::endian::native == std::endian::little
                 ? "09 00 45 23 00 00 00 00 fe ff 00 00 00 00 2c 00 00 00 00 00 78 56 34 12"
                 : "09 00 23 45 00 00 00 00 ff fe 00 00 00 00 2c 00 00 00 00 00 12 34 56 78") +
            "], null, 60) = 1, response (9, 0)");
}

// Out of memory, a platform call of the stand-in spends no fault, a trace
// record is kept in the journal and the trace records alike or in neither, and
// a control changes nothing. Each allocation of the call fails in turn, from a
// journal just emptied; the call after shows what the failed one left.
TEST(StandinOutOfMemory, SpendsNoFaultKeepsRecordsWholeAndControlsChangeNothing) {
    using namespace qx_standin;
    using Db = ZorvCommonDBUtility;
    struct Row {
        std::function<void()> prepare, call, after;
    };
    const std::vector<Row> rows = {
        {[] { InjectFault(Call::IsCloudNode); }, [] { ns_zorvsdk_wrap::IsCloudNode(); },
         [] { EXPECT_THROW(ns_zorvsdk_wrap::IsCloudNode(), InjectedFault); }},
        {[] { InjectTraceFault("alarm"); }, [] { NSQX_util::QXTrace2LogFile("qx", 1, "alarm up"); },
         [] { EXPECT_THROW(NSQX_util::QXTrace2LogFile("qx", 1, "alarm up"), InjectedFault); }},
        {[] { SetAdmins({7}); },
         [] {
             SetAdmins({1, 2, 3, 4});
         },
         [] { EXPECT_TRUE(Db::isInAdmins(7) && !Db::isInAdmins(1)); }},
        {[] {}, [] { SetUserName(7, std::string(300, 'n')); },
         [] {
             char name[256];
             EXPECT_EQ(Db::ZorvGetUserName(7, name), 0);  // still no user 7
         }}};
    for (const Row& row : rows) {
        for (long n = 1;; ++n) {
            Reset();
            row.prepare();
            qx_test::FailNthAllocation(n);
            try {
                row.call();
            } catch (const std::exception&) {
            }
            if (!qx_test::DisarmAllocationFailure()) {
                break;
            }
            row.after();
            const auto written = std::ranges::count_if(Journal(), [](const CallRecord& r) {
                return r.call == Call::TraceWrite && !r.threw;
            });
            EXPECT_EQ(std::size_t(written), TraceTexts().size()) << "allocation " << n;
        }
    }
}

// A vector that the database's answer replaces holds none of the answer
// when an allocation fails: each allocation of the queries fails in turn.
TEST(OutOfMemory, VectorOutputsHoldNoneOfTheAnswer) {
    using Ids = std::vector<unsigned long>;
    CUserSecurityMgr alice(42);
    for (long n = 1;; ++n) {
        qx_standin::Reset();
        Ids all{5};
        Ids some{5};
        qx_test::FailNthAllocation(n);
        try {
            alice.GetAllManagedNE(all);
            alice.GetManagedNE(Ids{1001, 1002, 7}, some);
        } catch (const std::bad_alloc&) {
        }
        if (!qx_test::DisarmAllocationFailure()) {
            break;
        }
        EXPECT_TRUE((all == Ids{5} || all.empty() || all.size() == 101)) << "allocation " << n;
        EXPECT_TRUE((some == Ids{5} || some.empty() || some == Ids{1001, 1002}))
            << "allocation " << n;
    }
}

// A fault in the second name query: the names found before it stay, as do
// those the caller held.
TEST(PlatformFaults, GetAllUserKeepsTheNamesAddedBefore) {
    qx_standin::Reset();
    CUserSecurityMgr bob(43);
    std::map<int, std::string> names{{7, "kept"}};
    qx_standin::InjectFault(Call::GetUserName, 1);
    EXPECT_THROW(bob.GetAllUser({42, 43}, names), qx_standin::InjectedFault);
    EXPECT_EQ(names, (std::map<int, std::string>{{7, "kept"}, {42, "alice"}}));
}

// On a cloud node a vector passed as its own input, with no room to grow,
// gets its ids twice: the walk never reads memory that the appends moved.
TEST(CloudNode, VectorAsItsOwnInputIsDoubled) {
    qx_standin::Reset();
    qx_standin::SetCloudNode(true);
    std::vector<unsigned long> ids{5, 1UL << 32, 7};
    ids.shrink_to_fit();
    EXPECT_EQ(CUserSecurityMgr(42).GetManagedNE(ids, ids), 0);
    EXPECT_EQ(ids, (std::vector<unsigned long>{5, 1UL << 32, 7, 5, 1UL << 32, 7}));
}

// Keys order by the primary string, then the secondary; bytes as unsigned
// values, NUL included; the two strings are never joined.
TEST(SvrEventOrder, EachKeyBeforeTheNext) {
    const std::vector<SvrEvent> ascending{
        {"alarm", "raised"},                    // the first key
        {"alarm", std::string("raised\0", 7)},  // one byte more, a NUL
        {"alarm", "raisee"},                    // a greater last byte
        {"alarmr", "aised"},                    // joined, the same bytes as the first key
        {"alarm\x7f", ""},                      // the primary string decides first
        {"alarm\x80", ""},                      // bytes are unsigned
    };
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        for (std::size_t k = 0; k < ascending.size(); ++k) {
            EXPECT_EQ(ascending[i] < ascending[k], i < k) << "key " << i << " < key " << k;
        }
    }
}

}  // namespace
