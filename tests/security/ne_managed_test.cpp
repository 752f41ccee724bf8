// The single-NE check and the listing of every managed NE.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"
#include "security_records.h"
#include "standin_fixture.h"

namespace {

using namespace security_test;
using Strings = std::vector<std::string>;

struct NeCheckCase {
    const char* name;
    unsigned long ne;
    std::vector<unsigned int> answer;
    int userId;
    int result;  // the query's
    bool cloud;
    bool managed;
};

class NeQueryTest : public qx_test::StandinTest {};

TEST_F(NeQueryTest, NeCheckAsksOnlyOffACloudNodeAndAnyAnswerCounts) {
    const NeCheckCase cases[] = {
        {"cloud node, NE 0", 0, {}, 42, 1, true, true},
        {"answer names another NE", 5, {77}, 42, 1, false, true},
        {"result 2", 1001, {1001}, 42, 2, false, false},
        {"result -1", 1001, {1001}, 42, -1, false, false},
        {"highest database id", 4294967295UL, {4294967295U}, 42, 1, false, true},
        {"administrator", 5, {}, 1, 1, false, false},
        {"negative user id", 5, {}, -1, 1, false, false},
    };
    for (const NeCheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        qx_standin::SetCloudNode(c.cloud);
        const CUserSecurityMgr manager(c.userId);
        qx_standin::ClearJournal();
        Strings calls{CloudCall(c.cloud)};
        Strings records;
        if (!c.cloud) {
            qx_standin::QueueMngDeviceAnswer(c.result, c.answer);
            const auto userBits = static_cast<unsigned int>(c.userId);
            calls.push_back(
                MngDeviceCall(userBits, {static_cast<unsigned int>(c.ne)}, c.result, c.answer));
            records = {NeCheckRecord(c.userId, c.ne),
                       AnswerRecord("lstDeviceOut", c.result, c.userId, c.answer.size())};
            if (c.result != 1) {
                records.push_back(kServiceError);
            }
        }
        EXPECT_EQ(manager.isNeManaged(c.ne), c.managed);
        EXPECT_EQ(Calls(), calls);
        EXPECT_EQ(Records(), records);
    }
}

// Listings never ask about the node; an empty answer still succeeds.
TEST_F(NeQueryTest, SetOfAllManagedNesEmptiedBySuccessWritesTheNoNeRecord) {
    qx_standin::SetCloudNode(true);
    CUserSecurityMgr carol(44);  // manages nothing in the built-in data
    qx_standin::ClearJournal();
    std::set<unsigned long> out{1, 2};
    EXPECT_EQ(carol.GetAllManagedNE(out), 1);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(Calls(), Strings{MngDeviceCall(44, {}, 1, {})});
    EXPECT_EQ(Records(), (Strings{AllManagedRecord(44), AnswerRecord("setNE", 1, 44, 0),
                                  NoManagedNeRecord(44)}));
}

}  // namespace
