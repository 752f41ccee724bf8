// Several threads querying through their own managers at once: the library
// keeps no state between calls, so each must get its own exact answers.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"
#include "standin_fixture.h"

namespace {

class SecurityQueryRace : public qx_test::StandinTest {};

TEST_F(SecurityQueryRace, ConcurrentQueriesGetTheirOwnAnswers) {
    qx_standin::SetCloudNode(false);
    const CUserSecurityMgr shared(43);  // bob: the even NEs of 1001..1300
    std::vector<std::thread> threads;
    threads.reserve(4);
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &shared, &mismatches] {
            CUserSecurityMgr alice(42);  // 1001..1100 and 3000000000
            for (int round = 0; round < 100; ++round) {
                const unsigned long ne = 1001 + static_cast<unsigned long>((round + t) % 300);
                std::vector<unsigned long> managed;
                if (alice.GetManagedNE(std::vector<unsigned long>{ne, 3000000000UL}, managed) !=
                        0 ||
                    managed.size() != (ne <= 1100 ? 2U : 1U)) {
                    ++mismatches[t];
                }
                if (shared.isNeManaged(ne) != (ne % 2 == 0)) {
                    ++mismatches[t];
                }
                std::set<unsigned long> all;
                if (alice.GetAllManagedNE(all) != 1 || all.size() != 101U) {
                    ++mismatches[t];
                }
                std::map<int, std::string> names;
                if (alice.GetAllUser({42, 43}, names) != 0 || names.at(43) != "bob") {
                    ++mismatches[t];
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
    // Every query wrote its pair of records, none lost or torn.
    EXPECT_EQ(qx_standin::CountCalls(qx_standin::Call::GetMngDevice), 4U * 100U * 3U);
}

}  // namespace
