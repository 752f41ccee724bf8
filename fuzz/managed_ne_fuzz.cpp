// All five GetManagedNE forms on arbitrary inputs, answers and earlier
// outputs, against the model of the state machine test.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <list>
#include <set>
#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"
#include "surface/model.h"

namespace {

// Which of `input` the manager manages, into the caller's container of
// `form`'s output, in the model and in the library alike.
long Real(CUserSecurityMgr& m, int form, const qx_model::Ids& input, qx_model::Caller& c) {
    const std::list<unsigned long> list(input.begin(), input.end());
    const std::set<unsigned long> set(input.begin(), input.end());
    switch (form) {
        case 0:
            return m.GetManagedNE(list, c.list);
        case 1:
            return m.GetManagedNE(input, c.vec);
        case 2:
            return m.GetManagedNE(set, c.vec);
        case 3:
            return m.GetManagedNE(set, c.set);
        default:
            return m.GetManagedNE(input, c.set);
    }
}

}  // namespace

// One byte per decision; zeros once the bytes run out.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 0;
    const auto next = [&]() -> unsigned long { return at < size ? data[at++] : 0; };
    const auto id = [&]() -> unsigned long {
        const unsigned long special[] = {3000000000UL, 4294967295UL, 1UL << 32, ~0UL};
        return next() % 6 == 0 ? special[next() % 4] : ((next() % 3) << 32) + next() % 20;
    };
    const int results[] = {1, 1, 1, 0, -1, 2};
    qx_model::Model model;
    model.Reset(true);
    qx_standin::ResetEmpty();
    const int user = static_cast<int>(next() % 6) - 2;
    model.platform.cloud = next() % 4 == 0;
    model.platform.mngResult = results[next() % 6];
    for (unsigned long n = next() % 16; n > 0; --n) {
        model.platform.managed[static_cast<unsigned>(user)].push_back(static_cast<unsigned>(id()));
    }
    qx_standin::SetCloudNode(model.platform.cloud);
    qx_standin::SetMngDeviceResult(model.platform.mngResult);
    qx_standin::SetManagedNEs(static_cast<unsigned>(user),
                              model.platform.managed[static_cast<unsigned>(user)]);
    qx_model::Ids input;
    qx_model::Ids prior;
    for (unsigned long n = next() % 12; n > 0; --n) {
        input.push_back(id());
    }
    for (unsigned long n = next() % 4; n > 0; --n) {
        prior.push_back(id());
    }
    const char* const kinds[][2] = {
        {"list", "list"}, {"vec", "vec"}, {"set", "vec"}, {"set", "set"}, {"vec", "set"}};
    CUserSecurityMgr manager(user);
    const qx_model::Manager modelled{user, false};
    for (int form = 0; form < 5; ++form) {
        qx_model::Caller real;
        real.list.assign(prior.begin(), prior.end());
        real.vec = prior;
        real.set = {prior.begin(), prior.end()};
        model.caller = real;
        qx_standin::ClearJournal();
        model.platform.journal.clear();
        model.platform.traces.clear();
        const std::set<unsigned long> asSet(input.begin(), input.end());
        const bool setInput = std::string(kinds[form][0]) == "set";
        const long expected =
            model.GetManagedNE(modelled, kinds[form][0], kinds[form][1],
                               setInput ? qx_model::Ids(asSet.begin(), asSet.end()) : input);
        const long seen = Real(manager, form, input, real);
        if (seen != expected || real.list != model.caller.list || real.vec != model.caller.vec ||
            real.set != model.caller.set || qx_standin::JournalTexts() != model.platform.journal) {
            std::fprintf(stderr, "form %s->%s: result %ld (model %ld)\n", kinds[form][0],
                         kinds[form][1], seen, expected);
            __builtin_trap();
        }
    }
    return 0;
}
