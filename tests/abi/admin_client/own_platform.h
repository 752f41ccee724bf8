// A platform of the client's own: it answers as told and logs every call and
// record in one line each.
#pragma once

#include <string>
#include <vector>

namespace own_platform {

struct Script {
    bool databaseAvailable = true;
    int adminId = 0;
    std::vector<unsigned int> admins;
};

void Reset(const Script& script);
// Everything the library did to the platform, in order.
const std::vector<std::string>& Log();

}  // namespace own_platform
