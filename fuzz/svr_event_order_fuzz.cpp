// What SvrEvent::operator< must be on arbitrary bytes: a strict weak order
// whose equivalent keys are exactly the keys with the same two strings, so
// every byte counts, NUL included, and the two strings are never joined.
// Which of two keys comes first is pinned by the unit tests.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "qx_sysevent/svr_event.h"

namespace {

// A length byte, then up to that many bytes; empty once the input runs out.
std::string TakeString(const std::uint8_t*& at, const std::uint8_t* end) {
    if (at == end) {
        return {};
    }
    const std::size_t length = std::min<std::size_t>(*at, end - at - 1);
    std::string bytes(reinterpret_cast<const char*>(at + 1), length);
    at += 1 + length;
    return bytes;
}

bool SameStrings(const SvrEvent& a, const SvrEvent& b) {
    return a.m_strPrimaryKey == b.m_strPrimaryKey && a.m_strSecondaryKey == b.m_strSecondaryKey;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* end = data + size;
    std::vector<SvrEvent> keys;
    for (int i = 0; i < 3; ++i) {
        keys.push_back(SvrEvent{TakeString(data, end), TakeString(data, end)});
    }
    for (const SvrEvent& a : keys) {
        for (const SvrEvent& b : keys) {
            const bool equivalent = !(a < b) && !(b < a);
            if (equivalent != SameStrings(a, b)) {
                __builtin_trap();
            }
            for (const SvrEvent& c : keys) {
                if (a < b && b < c && !(a < c)) {
                    __builtin_trap();
                }
            }
        }
    }
    return 0;
}
