// The built-in data set of the stand-in database: a handful of users, one
// administrator and a few hundred NEs.
#include "database_state.h"
#include "qx_standin/standin.h"

namespace qx_standin::detail {

DatabaseState DefaultDatabase() {
    using namespace qx_standin::defaults;
    DatabaseState db;
    db.adminId = kAdminId;
    db.admins = {static_cast<unsigned int>(kAdminId)};
    db.userNames = {{kAdminId, "admin"},
                    {kAlice, "alice"},
                    {kBob, "bob"},
                    {kCarol, "carol"},
                    {100, "noc-operator"}};

    std::vector<unsigned int>& all = db.managedNEs[kAdminId];
    for (unsigned int ne = 1001; ne <= 1300; ++ne) {
        all.push_back(ne);
    }
    all.push_back(3000000000U);

    std::vector<unsigned int>& alice = db.managedNEs[kAlice];
    for (unsigned int ne = 1001; ne <= 1100; ++ne) {
        alice.push_back(ne);
    }
    alice.push_back(3000000000U);

    std::vector<unsigned int>& bob = db.managedNEs[kBob];
    for (unsigned int ne = 1002; ne <= 1300; ne += 2) {
        bob.push_back(ne);
    }
    return db;
}

}  // namespace qx_standin::detail
