// The five GetManagedNE overloads on arbitrary input against a plain model:
// any ids (duplicates, 2^32 and above), a cloud node or not, the database's
// data set or a scripted answer with any result. Checks the result, the
// output, the one query's filter set and the records around it.
#include <cstddef>
#include <cstdint>
#include <list>
#include <set>
#include <string>
#include <vector>

#include "managed_ne_model.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"

namespace {

using Ids = std::vector<unsigned long>;
using Call = qx_standin::Call;

constexpr unsigned long kWide = 1UL << 32;

void Check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Take() {
        if (m_size == 0) {
            return 0;
        }
        --m_size;
        return *m_data++;
    }
    // Mostly small ids that collide often; now and then the edges of 32 bits
    // and ids of 2^32 and more whose low bits collide with the small ones.
    unsigned long TakeNeId() {
        const std::uint8_t tag = Take();
        const unsigned long low = Take() % 24;
        switch (tag % 8) {
            case 0:
                return kWide * (1 + tag / 8) + low;
            case 1: {
                static const unsigned long kEdges[] = {
                    0, 0x7FFFFFFFUL, 0x80000000UL, 0xFFFFFFFFUL, kWide, ~0UL};
                return kEdges[low % 6];
            }
            default:
                return low;
        }
    }
    std::vector<unsigned int> TakeDatabaseIds() {
        std::vector<unsigned int> ids;
        for (unsigned n = Take() % 16; n > 0; --n) {
            ids.push_back(static_cast<unsigned int>(TakeNeId()));
        }
        return ids;
    }
    Ids TakeIds() {
        Ids ids;
        for (unsigned n = Take() % 20; n > 0; --n) {
            ids.push_back(TakeNeId());
        }
        return ids;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

using Kind = qx_test::NeContainer;
using Scenario = qx_test::NeFilterScenario;

template <typename Input, typename Output>
void Run(const Scenario& s, Kind out) {
    qx_standin::Reset();
    qx_standin::SetCloudNode(s.cloud);
    if (s.scripted) {
        qx_standin::QueueMngDeviceAnswer(s.result, s.listed);
    } else {
        qx_standin::SetManagedNEs(static_cast<unsigned int>(s.userId), s.listed);
        qx_standin::SetMngDeviceResult(s.result);
    }
    CUserSecurityMgr manager(s.userId);
    qx_standin::ClearJournal();

    const Input input(s.input.begin(), s.input.end());
    Output output(s.prior.begin(), s.prior.end());
    const qx_test::NeFilterOutcome e =
        qx_test::ModelGetManagedNE(s, Ids(input.begin(), input.end()), out);
    Check(manager.GetManagedNE(input, output) == e.result);
    Check(output == Output(e.output.begin(), e.output.end()));
    Check(qx_standin::CountCalls(Call::IsCloudNode) == 1);
    Check(qx_standin::CountCalls(Call::GetMngDevice) == (e.queried ? 1U : 0U));
    const std::size_t records = !e.queried ? 0 : s.result != 1 ? 3 : 2;
    Check(qx_standin::TraceRecords().size() == records);
    for (const qx_standin::CallRecord& call : qx_standin::Journal()) {
        if (call.call == Call::GetMngDevice) {
            Check(call.filter == e.filter);
            Check(call.userId == static_cast<unsigned int>(s.userId));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int kResults[] = {1, 1, 1, 1, 0, 2, -1, 0x7FFFFFFF};
    Bytes bytes(data, size);
    Scenario s;
    const std::uint8_t flags = bytes.Take();
    s.cloud = (flags & 1) != 0;
    s.scripted = (flags & 2) != 0;
    s.userId = static_cast<int>(static_cast<std::int8_t>(bytes.Take()));
    s.result = kResults[bytes.Take() % 8];
    s.listed = bytes.TakeDatabaseIds();
    s.prior = bytes.TakeIds();
    s.input = bytes.TakeIds();

    using List = std::list<unsigned long>;
    using Vector = std::vector<unsigned long>;
    using Set = std::set<unsigned long>;
    switch ((flags >> 2) % 5) {
        case 0:
            Run<List, List>(s, Kind::List);
            break;
        case 1:
            Run<Vector, Vector>(s, Kind::Vector);
            break;
        case 2:
            Run<Set, Vector>(s, Kind::Vector);
            break;
        case 3:
            Run<Set, Set>(s, Kind::Set);
            break;
        default:
            Run<Vector, Set>(s, Kind::Set);
    }
    return 0;
}
