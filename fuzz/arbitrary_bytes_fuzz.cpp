// What reaches the library as arbitrary bytes: user names as the database
// delivers them (up to 256 bytes, a NUL or none), and event keys. A name
// joins the caller's map up to its first NUL and at most 255 bytes; keys order
// as their strings do, bytes unsigned, the primary string first.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

bool Before(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

}  // namespace

// The bytes, cut in four at the first three 0xFF: two names, and a key's two strings.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> part(4);
    std::size_t at = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && at < 3) {
            ++at;
        } else {
            part[at] += static_cast<char>(data[i]);
        }
    }
    qx_standin::ResetEmpty();
    qx_standin::SetJournaling(false);
    qx_standin::QueueUserNameAnswer(1, part[0]);
    qx_standin::QueueUserNameAnswer(1, part[1]);
    std::map<int, std::string> names;
    CUserSecurityMgr(7).GetAllUser({1, 2}, names);
    std::string buffer(256, '\0');  // one buffer for every name, as the library keeps it
    const auto delivered = [&buffer](const std::string& bytes) {
        buffer.replace(0, std::min<std::size_t>(bytes.size(), 256), bytes, 0, 256);
        buffer[255] = '\0';
        return std::string(buffer.c_str());
    };
    if (names.at(1) != delivered(part[0]) || names.at(2) != delivered(part[1])) {
        __builtin_trap();
    }
    const SvrEvent a{part[2], part[3]};
    const SvrEvent b{part[3], part[2]};
    if (a < a || (a < b) != Before(part[2], part[3]) || (a < b && b < a)) {
        __builtin_trap();
    }
    return 0;
}
