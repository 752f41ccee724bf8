// All five GetManagedNE overloads on arbitrary scenarios against the model
// the randomized test uses.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "ne_model.h"

// One byte per decision the scenario takes; zeros once the bytes run out.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 0;
    const auto next = [&]() -> unsigned long { return at < size ? data[at++] : 0; };
    const std::string mismatch = qx_test::CheckAllOverloads(qx_test::MakeScenario(next));
    if (!mismatch.empty()) {
        std::fprintf(stderr, "%s\n", mismatch.c_str());
        __builtin_trap();
    }
    return 0;
}
