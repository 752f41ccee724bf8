// All five GetManagedNE overloads on arbitrary scenarios against the model
// the randomized test uses.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "ne_model.h"

// Four bytes of user id, node kind and query result, then nine bytes per id:
// a flag byte (bit 0: the id goes to the prior output instead of the input;
// bit 1: the database lists its low 32 bits, in the order met) and the id.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    qx_test::NeScenario s;
    s.userId = static_cast<std::int8_t>(data[0]);
    s.cloud = (data[1] & 1) != 0;
    s.result = static_cast<std::int8_t>(data[2]) % 3;
    for (data += 4, size -= 4; size >= 9; data += 9, size -= 9) {
        unsigned long id = 0;
        std::memcpy(&id, data + 1, sizeof id);
        ((data[0] & 1) != 0 ? s.prior : s.input).push_back(id);
        if ((data[0] & 2) != 0) s.listed.push_back(static_cast<unsigned int>(id));
    }
    const std::string mismatch = qx_test::CheckAllOverloads(s);
    if (!mismatch.empty()) {
        std::fprintf(stderr, "%s\n", mismatch.c_str());
        __builtin_trap();
    }
    return 0;
}
