// Fixture of the tests that drive the event subsystem through
// QXSysEventMgrIF: every case starts, and ends, with no facade and no
// consumer, an empty journal and a working static object lock.
#pragma once

#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/svr_event.h"
#include "qx_sysevent/sys_event_mgr.h"
#include "standin_fixture.h"

namespace qx_test {

inline constexpr int kKeyAlreadyRegistered = 0x4103F210;

// What the stand-in journals for the consumer's base.
inline const std::string kBaseDestroyed = "EventConsumerProxy::~EventConsumerProxy()";

inline SvrEvent Key(const std::string& primary, const std::string& secondary) {
    SvrEvent key;
    key.m_strPrimaryKey = primary;
    key.m_strSecondaryKey = secondary;
    return key;
}

inline void FirstHandler() {}
inline void SecondHandler() {}

class EventMgrTest : public StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        TearDownSubsystem();
        qx_standin::Reset();
        ResetStaticLockCounts();
    }
    void TearDown() override {
        StandinTest::TearDown();
        TearDownSubsystem();
    }

    // The facade's destructor takes any consumer with it.
    static void TearDownSubsystem() {
        QXSysEventMgrIF::Instance();
        QXSysEventMgrIF::Destroy();
    }
};

}  // namespace qx_test
