// All five GetManagedNE forms on arbitrary inputs, answers and earlier
// outputs, against the model of the state machine test.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"
#include "surface/model.h"

// One byte per decision; zeros once the bytes run out.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 0;
    const auto next = [&]() -> unsigned long { return at < size ? data[at++] : 0; };
    const auto id = [&]() -> unsigned long {  // small, or at and past 32 bits
        const unsigned long wide[] = {3000000000UL, 4294967295UL, 1UL << 32, ~0UL};
        return next() % 6 == 0 ? wide[next() % 4] : ((next() % 3) << 32) + next() % 20;
    };
    const auto ids = [&](unsigned long most) {
        qx_model::Ids out(next() % most);
        for (unsigned long& item : out) {
            item = id();
        }
        return out;
    };
    const int user = static_cast<int>(next() % 6) - 2;
    const int results[] = {1, 1, 1, 0, -1, 2};
    qx_model::Model model;
    model.Reset(true);
    model.platform.cloud = next() % 4 == 0;
    model.platform.mngResult = results[next() % 6];
    const qx_model::Ids listed = ids(16);
    qx_model::DbIds& managed = model.platform.managed[static_cast<unsigned>(user)];
    managed.assign(listed.begin(), listed.end());  // as the database keeps them, in 32 bits
    qx_standin::ResetEmpty();
    qx_standin::SetCloudNode(model.platform.cloud);
    qx_standin::SetMngDeviceResult(model.platform.mngResult);
    qx_standin::SetManagedNEs(static_cast<unsigned>(user), managed);
    const qx_model::Ids input = ids(12);
    const qx_model::Ids prior = ids(4);
    const std::set<unsigned long> inputSet(input.begin(), input.end());
    const qx_model::Ids sorted(inputSet.begin(), inputSet.end());

    CUserSecurityMgr manager(user);
    for (int form = 0; form < 5; ++form) {
        qx_model::Caller real;
        real.list.assign(prior.begin(), prior.end());
        real.vec = prior;
        real.set = {prior.begin(), prior.end()};
        model.caller = real;
        qx_standin::ClearJournal();
        model.platform.journal.clear();
        const char* const in[] = {"list", "vec", "set", "set", "vec"};
        const char* const out[] = {"list", "vec", "vec", "set", "set"};
        const long expected = model.GetManagedNE({user, false}, in[form], out[form],
                                                 form == 2 || form == 3 ? sorted : input);
        const std::list<unsigned long> inputList(input.begin(), input.end());
        const long seen = form == 0   ? manager.GetManagedNE(inputList, real.list)
                          : form == 1 ? manager.GetManagedNE(input, real.vec)
                          : form == 2 ? manager.GetManagedNE(inputSet, real.vec)
                          : form == 3 ? manager.GetManagedNE(inputSet, real.set)
                                      : manager.GetManagedNE(input, real.set);
        if (seen != expected || real.list != model.caller.list || real.vec != model.caller.vec ||
            real.set != model.caller.set || qx_standin::JournalTexts() != model.platform.journal) {
            std::fprintf(stderr, "%s -> %s: %ld, the model %ld\n", in[form], out[form], seen,
                         expected);
            __builtin_trap();
        }
    }
    return 0;
}
