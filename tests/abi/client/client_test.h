// Each case starts on a fresh platform and must leave no trace call of the
// wrong shape behind.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "own_platform.h"

using Strings = std::vector<std::string>;

class ClientTest : public ::testing::Test {
protected:
    void SetUp() override { own::Reset(); }
    void TearDown() override {
        own::P().failStaticLock = false;
        EXPECT_EQ(own::P().faults, Strings{});
    }
};
