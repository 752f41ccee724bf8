// CUserSecurityMgr: construction, the flag, the name lookups and the one-NE
// check. States asserted after every run:
// - constructor: TEUserIDMgr::m_pInstance null or the complete instance; a
//   completed object carries the right flag.
// - GetLoginName: the caller's buffer as it was, or holding the name the
//   database wrote; the result when completed.
// - GetAllUser: the caller's map holds its earlier entries, unchanged, plus
//   the names of a prefix of the ids (in order); all of them when completed.
// - isNeManaged: the answer, when completed.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "operation.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/user_id_mgr.h"
#include "qx_sysevent/user_security_mgr.h"

namespace qx_faults {
namespace {

constexpr long kUserNameNotDelivered = 0x42008125;
constexpr int kAlice = 42;

// The manager exists before the run; the registry does not.
std::shared_ptr<CUserSecurityMgr> StartManager(int userId, bool cloud) {
    qx_standin::Reset();
    qx_standin::SetCloudNode(cloud);
    auto manager = std::make_shared<CUserSecurityMgr>(userId);
    TEUserIDMgr::Destroy();
    qx_standin::ClearJournal();
    return manager;
}

Operation Construction() {
    return {"CUserSecurityMgr::CUserSecurityMgr", [] {
                StartManager(kAlice, false);
                auto made = std::make_shared<std::optional<CUserSecurityMgr>>();
                return Attempt{[made] { made->emplace(qx_standin::defaults::kAdminId); },
                               [made](bool completed) {
                                   EXPECT_EQ(made->has_value(), completed);
                                   if (completed) {
                                       EXPECT_TRUE((*made)->isContainsRoot());
                                   }
                                   TEUserIDMgr* registry = TEUserIDMgr::m_pInstance;
                                   if (registry != nullptr) {
                                       EXPECT_EQ(TEUserIDMgr::Instance(), registry);
                                   }
                               }};
            }};
}

Operation RootFlag() {
    return {"CUserSecurityMgr::isContainsRoot", [] {
                auto manager = StartManager(qx_standin::defaults::kAdminId, false);
                auto flag = std::make_shared<bool>(false);
                return Attempt{[manager, flag] { *flag = manager->isContainsRoot(); },
                               [flag](bool completed) {
                                   EXPECT_TRUE(completed);
                                   EXPECT_TRUE(*flag);
                               }};
            }};
}

// `written`: the name the database delivers, or null when it delivers none
// and leaves the buffer alone.
Operation LoginName(const char* name, int userId, long expected, const char* written) {
    return {name, [userId, expected, written] {
                auto manager = StartManager(userId, false);
                struct State {
                    char buffer[256];
                    long result = -1;
                };
                auto state = std::make_shared<State>();
                std::memset(state->buffer, 'x', sizeof state->buffer);
                return Attempt{
                    [manager, state] { state->result = manager->GetLoginName(state->buffer); },
                    [state, expected, written](bool completed) {
                        EXPECT_EQ(state->result, completed ? expected : -1);
                        const std::string untouched(sizeof state->buffer, 'x');
                        std::string named = untouched;
                        if (written != nullptr) {
                            named.replace(0, std::strlen(written) + 1,
                                          std::string(written) + std::string(1, '\0'));
                        }
                        const std::string now(state->buffer, sizeof state->buffer);
                        EXPECT_TRUE(now == untouched || now == named);
                        if (completed) {
                            EXPECT_EQ(now, named);
                        }
                    }};
            }};
}

using Names = std::map<int, std::string>;

// `ids` are looked up in order; `found` are the pairs the lookups deliver
// before the first failure, if any.
Operation AllUsers(const char* name, const std::vector<int>& ids,
                   const std::vector<std::pair<int, std::string>>& found, long expected) {
    return {name, [ids, found, expected] {
                auto manager = StartManager(kAlice, false);
                struct State {
                    std::vector<int> ids;
                    Names names{{1, "root-as-known"}};
                    long result = -1;
                };
                auto state = std::make_shared<State>();
                state->ids = ids;
                return Attempt{[manager, state] {
                                   state->result = manager->GetAllUser(state->ids, state->names);
                               },
                               [state, found, expected](bool completed) {
                                   EXPECT_EQ(state->result, completed ? expected : -1);
                                   Names allowed{{1, "root-as-known"}};
                                   bool matched = state->names == allowed;
                                   for (const auto& entry : found) {
                                       allowed.insert(entry);
                                       matched = matched || state->names == allowed;
                                   }
                                   EXPECT_TRUE(matched) << state->names.size() << " entries";
                                   if (completed) {
                                       EXPECT_EQ(state->names, allowed);
                                   }
                               }};
            }};
}

Operation NeCheck(const char* name, bool cloud, int queryResult, unsigned long ne, bool managed) {
    return {name, [cloud, queryResult, ne, managed] {
                auto manager = StartManager(kAlice, cloud);
                qx_standin::SetMngDeviceResult(queryResult);
                qx_standin::ClearJournal();
                auto answer = std::make_shared<int>(-1);
                return Attempt{
                    [manager, answer, ne] { *answer = manager->isNeManaged(ne) ? 1 : 0; },
                    [answer, managed](bool completed) {
                        EXPECT_EQ(*answer, completed ? int{managed} : -1);
                    }};
            }};
}

}  // namespace

std::vector<Operation> SecurityScopeOperations() {
    return {
        Construction(),
        RootFlag(),
        LoginName("CUserSecurityMgr::GetLoginName", kAlice, 0, "alice"),
        LoginName("CUserSecurityMgr::GetLoginName, unknown user", 999, kUserNameNotDelivered,
                  nullptr),
        AllUsers("CUserSecurityMgr::GetAllUser", {42, 43, 1}, {{42, "alice"}, {43, "bob"}}, 0),
        AllUsers("CUserSecurityMgr::GetAllUser, failing lookup", {42, 999, 43}, {{42, "alice"}},
                 kUserNameNotDelivered),
        NeCheck("CUserSecurityMgr::isNeManaged, cloud", true, 1, 5, true),
        NeCheck("CUserSecurityMgr::isNeManaged, managed", false, 1, 1001, true),
        NeCheck("CUserSecurityMgr::isNeManaged, failed query", false, 0, 1001, false),
    };
}

}  // namespace qx_faults
