#include "standin_fixture.h"

namespace qx_test {

void StandinTest::SetUp() {
    FailStaticObjectLock(false);
    ResetStaticLockCounts();
    qx_standin::Reset();
}

void StandinTest::TearDown() {
    FailStaticObjectLock(false);
    qx_standin::ClearFaults();
}

}  // namespace qx_test
