// The stand-in's management database and node: what it answers, and what it
// was scripted to answer next.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace qx_standin::detail {

struct UserNameAnswer {
    int result;
    std::string bytes;
};

struct MngDeviceAnswer {
    int result;
    std::vector<unsigned int> list;
};

struct DatabaseState {
    bool available = true;
    int adminId = 0;
    std::set<unsigned int> admins;
    std::map<unsigned int, std::string> userNames;
    std::map<unsigned int, std::vector<unsigned int>> managedNEs;
    bool cloudNode = false;
    int mngDeviceResult = 1;
    std::deque<UserNameAnswer> userNameAnswers;
    std::deque<MngDeviceAnswer> mngDeviceAnswers;
};

// The built-in data set of the demo.
DatabaseState DefaultDatabase();

// The database, locked for as long as the returned guard lives.
class DatabaseAccess {
public:
    DatabaseAccess();
    ~DatabaseAccess();
    DatabaseAccess(const DatabaseAccess&) = delete;
    DatabaseAccess& operator=(const DatabaseAccess&) = delete;

    DatabaseState* operator->() { return m_pState; }
    DatabaseState& operator*() { return *m_pState; }

private:
    DatabaseState* m_pState;
};

}  // namespace qx_standin::detail
