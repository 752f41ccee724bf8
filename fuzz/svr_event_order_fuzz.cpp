// SvrEvent::operator< on arbitrary bytes against a plain reference: the two
// strings as unsigned bytes, the primary one first, a proper prefix first.
// Agreeing with it makes the order strict and weak, with byte equality as
// its equivalence.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "qx_sysevent/svr_event.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A length byte, then up to that many bytes.
std::string Take(const std::uint8_t*& data, std::size_t& size) {
    if (size == 0) return {};
    const std::size_t n = std::min<std::size_t>(data[0], size - 1);
    std::string out(reinterpret_cast<const char*>(data) + 1, n);
    data += n + 1, size -= n + 1;
    return out;
}

std::tuple<Bytes, Bytes> Reference(const SvrEvent& e) {
    return {Bytes(e.m_strPrimaryKey.begin(), e.m_strPrimaryKey.end()),
            Bytes(e.m_strSecondaryKey.begin(), e.m_strSecondaryKey.end())};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<SvrEvent> keys(3);
    for (SvrEvent& key : keys) {
        key.m_strPrimaryKey = Take(data, size);
        key.m_strSecondaryKey = Take(data, size);
    }
    for (const SvrEvent& a : keys) {
        for (const SvrEvent& b : keys) {
            if ((a < b) != (Reference(a) < Reference(b))) __builtin_trap();
        }
    }
    return 0;
}
