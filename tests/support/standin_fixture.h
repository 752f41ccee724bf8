// Base fixture of tests that run against the stand-in platform: every case
// starts from the built-in data set with an empty journal, no faults and a
// working static object lock.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "static_lock_seam.h"

namespace qx_test {

class StandinTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Texts of the trace records written so far.
    static std::vector<std::string> Records() { return qx_standin::TraceTexts(); }
    // The platform calls made so far, trace calls left out.
    static std::vector<std::string> Calls() { return qx_standin::PlatformCalls(); }
};

}  // namespace qx_test
