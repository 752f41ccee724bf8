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

using Bytes = std::vector<std::uint8_t>;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Six strings, each a length byte and up to that many bytes.
    std::vector<std::string> fields(6);
    for (std::string& field : fields) {
        if (size == 0) {
            break;
        }
        const std::size_t n = std::min<std::size_t>(data[0], size - 1);
        field.assign(reinterpret_cast<const char*>(data) + 1, n);
        data += n + 1;
        size -= n + 1;
    }
    for (std::size_t a = 0; a < 6; a += 2) {
        for (std::size_t b = 0; b < 6; b += 2) {
            const bool less =
                SvrEvent{fields[a], fields[a + 1]} < SvrEvent{fields[b], fields[b + 1]};
            const auto key = [&fields](std::size_t i) {
                return std::tuple(Bytes(fields[i].begin(), fields[i].end()),
                                  Bytes(fields[i + 1].begin(), fields[i + 1].end()));
            };
            if (less != (key(a) < key(b))) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
