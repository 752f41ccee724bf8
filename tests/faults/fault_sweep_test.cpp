// Every exported operation under injected failures, one at a time: each
// allocation in turn (the platform's during the call included) and each
// platform call in turn. The failure reaches the caller, except from
// QXSysEventMgrIF::Destroy, which swallows everything; the static object lock
// is released; the singletons and the caller's containers are in the states
// each operation's table entry names; the sanitizer build finds no leak.
#include <gtest/gtest.h>

#include "operation.h"
#include "qx_sysevent/sys_event_mgr.h"
#include "qx_sysevent/user_id_mgr.h"
#include "standin_fixture.h"
#include "sweep.h"
#include "sweep_report.h"

namespace {

class FaultSweep : public qx_test::StandinTest {
protected:
    void TearDown() override {
        StandinTest::TearDown();
        QXSysEventMgrIF::Instance();
        QXSysEventMgrIF::Destroy();
        TEUserIDMgr::Destroy();
    }
};

TEST_F(FaultSweep, EveryAllocationOfEveryExportedOperationFailingInTurn) {
    qx_faults::SweepReport report("allocation-failure sweep");
    for (const qx_faults::Operation& operation : qx_faults::ExportedOperations()) {
        report.Add(operation.name, qx_faults::SweepAllocationFailures(operation));
    }
    report.Print();
    EXPECT_GT(report.Total(), 0);
}

TEST_F(FaultSweep, EveryPlatformCallOfEveryExportedOperationThrowingInTurn) {
    qx_faults::SweepReport report("platform-fault sweep");
    for (const qx_faults::Operation& operation : qx_faults::ExportedOperations()) {
        report.Add(operation.name, qx_faults::SweepPlatformFaults(operation));
    }
    report.Print();
    EXPECT_GT(report.Total(), 0);
}

}  // namespace
