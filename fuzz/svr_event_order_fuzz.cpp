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

// Three keys from six strings, each a length byte and up to that many bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::vector<std::uint8_t>> fields(6);
    for (std::size_t i = 0, at = 0; i < 6 && at < size; ++i, at += fields[i - 1].size() + 1) {
        const std::size_t n = std::min<std::size_t>(data[at], size - at - 1);
        fields[i].assign(data + at + 1, data + at + 1 + n);
    }
    const auto key = [&fields](std::size_t i) {
        return SvrEvent{std::string(fields[i].begin(), fields[i].end()),
                        std::string(fields[i + 1].begin(), fields[i + 1].end())};
    };
    for (std::size_t a = 0; a < 6; a += 2) {
        for (std::size_t b = 0; b < 6; b += 2) {
            const bool reference =
                std::tie(fields[a], fields[a + 1]) < std::tie(fields[b], fields[b + 1]);
            if ((key(a) < key(b)) != reference) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
