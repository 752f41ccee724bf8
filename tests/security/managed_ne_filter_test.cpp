// GetManagedNE in all five container pairings: one procedure, told apart
// only by input walk, output fill and the kinds that the records name.
#include <gtest/gtest.h>

#include <list>
#include <set>
#include <string>
#include <vector>

#include "qx_standin/standin.h"
#include "qx_sysevent/user_security_mgr.h"
#include "security_records.h"
#include "standin_fixture.h"

namespace {

using namespace security_test;
using qx_standin::Call;
using Ids = std::vector<unsigned long>;
using Strings = std::vector<std::string>;
using NeList = std::list<unsigned long>;
using NeVector = std::vector<unsigned long>;
using NeSet = std::set<unsigned long>;

// Per pairing: the kinds its records name, and whether the cloud path puts
// the caller's ids in front of the output (lists) or after it.
template <typename In, typename Out, const char* InKind, const char* OutKind, bool InFront>
struct Pairing {
    using Input = In;
    using Output = Out;
    static constexpr const char* kInKind = InKind;
    static constexpr const char* kOutKind = OutKind;
    static constexpr bool kInputInFront = InFront;
};
constexpr char kListNE[] = "listNE", kVecNE[] = "vecNE", kSetNE[] = "setNE";
constexpr char kListOut[] = "listManagedNE", kVecOut[] = "vecManagedNE", kSetOut[] = "setManagedNE";
using Pairings = ::testing::Types<Pairing<NeList, NeList, kListNE, kListOut, true>,
                                  Pairing<NeVector, NeVector, kVecNE, kVecOut, false>,
                                  Pairing<NeSet, NeVector, kSetNE, kVecOut, false>,
                                  Pairing<NeSet, NeSet, kSetNE, kSetOut, false>,
                                  Pairing<NeVector, NeSet, kVecNE, kSetOut, false>>;

template <typename P>
class ManagedNeFilter : public qx_test::StandinTest {
protected:
    using Input = typename P::Input;
    using Output = typename P::Output;

    static Output Make(const Ids& ids) { return Output(ids.begin(), ids.end()); }

    // Runs the overload for alice (42) with the journal cleared after her
    // manager's construction.
    static long Filter(const Ids& ids, Output& out) {
        CUserSecurityMgr alice(42);
        qx_standin::ClearJournal();
        return alice.GetManagedNE(Input(ids.begin(), ids.end()), out);
    }
};
TYPED_TEST_SUITE(ManagedNeFilter, Pairings);

TYPED_TEST(ManagedNeFilter, CloudPathAddsEveryIdWithAll64BitsWithoutQueryOrRecord) {
    qx_standin::SetCloudNode(true);
    const Ids prior{2, 7};
    const Ids input{1, 2, kFirstWideNeId + 5};
    Ids expected = TypeParam::kInputInFront ? input : prior;
    const Ids& tail = TypeParam::kInputInFront ? prior : input;
    expected.insert(expected.end(), tail.begin(), tail.end());

    auto out = this->Make(prior);
    EXPECT_EQ(this->Filter(input, out), 0);
    EXPECT_EQ(out, this->Make(expected));
    EXPECT_EQ(this->Calls(), Strings{CloudCall(true)});
    EXPECT_TRUE(this->Records().empty());
    EXPECT_EQ(this->Filter({}, out), 0);
    EXPECT_EQ(out, this->Make(expected));
}

// Duplicates and ids of 2^32 and more never reach the filter set; the answer
// replaces the output, zero-extended, only when the query succeeded, and a
// failure without a code of its own is never reported as success.
TYPED_TEST(ManagedNeFilter, DatabasePathByQueryResult) {
    qx_standin::SetCloudNode(false);
    const Ids input{5, 5, 9, kFirstWideNeId + 5, 3000000000UL};
    const std::vector<unsigned int> answer{9, 3000000000U};
    for (int result : {1, 0, 2, -1}) {
        SCOPED_TRACE("result " + std::to_string(result));
        qx_standin::QueueMngDeviceAnswer(result, answer);
        auto out = this->Make({77});
        const long expected = result == 1 ? 0 : result == 0 ? kQueryFailedWithoutCode : result;
        EXPECT_EQ(this->Filter(input, out), expected);
        EXPECT_EQ(out, this->Make(result == 1 ? Ids{9, 3000000000UL} : Ids{77}));
        EXPECT_EQ(this->Calls(), (Strings{CloudCall(false),
                                          MngDeviceCall(42, {5, 9, 3000000000U}, result, answer)}));
        Strings records{FilterRequestRecord(TypeParam::kInKind, 42, 3),
                        AnswerRecord(TypeParam::kOutKind, result, 42, 2)};
        if (result != 1) {
            records.push_back(kServiceError);
        }
        EXPECT_EQ(this->Records(), records);
    }
}

TYPED_TEST(ManagedNeFilter, NothingToAskMakesNoQueryAndEmptiesTheOutput) {
    qx_standin::SetCloudNode(false);
    for (const Ids& input : {Ids{}, Ids{kFirstWideNeId + 5, kFirstWideNeId}}) {
        auto out = this->Make({77});
        EXPECT_EQ(this->Filter(input, out), 0);
        EXPECT_TRUE(out.empty());
        EXPECT_EQ(this->Calls(), Strings{CloudCall(false)});
        EXPECT_TRUE(this->Records().empty());
    }
}

// An exception leaves the output as it was; the filter set and the result
// list are released (the sanitizer build checks).
TYPED_TEST(ManagedNeFilter, PlatformExceptionLeavesTheOutput) {
    qx_standin::SetCloudNode(false);
    for (Call call : {Call::IsCloudNode, Call::GetMngDevice}) {
        SCOPED_TRACE(qx_standin::CallName(call));
        qx_standin::InjectFault(call);
        auto out = this->Make({77});
        EXPECT_THROW(this->Filter({5, 9}, out), qx_standin::InjectedFault);
        EXPECT_EQ(out, this->Make({77}));
        EXPECT_EQ(this->Records(), call == Call::IsCloudNode
                                       ? Strings{}
                                       : Strings{FilterRequestRecord(TypeParam::kInKind, 42, 2)});
    }
}

// Nothing stops a caller from passing one container as both: on the cloud
// path the ids are read before the output grows, on the database path the
// input is read in full before the output is emptied.
TEST(ManagedNeFilterAliasing, OneContainerAsInputAndOutput) {
    qx_standin::Reset();
    CUserSecurityMgr alice(42);  // manages 1001..1100 in the built-in data
    qx_standin::SetCloudNode(true);
    NeVector vec{1, 2, 3};
    vec.shrink_to_fit();  // growing reallocates under the walk
    EXPECT_EQ(alice.GetManagedNE(vec, vec), 0);
    EXPECT_EQ(vec, (NeVector{1, 2, 3, 1, 2, 3}));
    NeList list{1, 2};
    EXPECT_EQ(alice.GetManagedNE(list, list), 0);
    EXPECT_EQ(list, (NeList{1, 2, 1, 2}));

    qx_standin::SetCloudNode(false);
    vec = {5, 1001, 1002};
    EXPECT_EQ(alice.GetManagedNE(vec, vec), 0);
    EXPECT_EQ(vec, (NeVector{1001, 1002}));
    list = {1003, 5};
    EXPECT_EQ(alice.GetManagedNE(list, list), 0);
    EXPECT_EQ(list, NeList{1003});
    NeSet set{1004, 6};
    EXPECT_EQ(alice.GetManagedNE(set, set), 0);
    EXPECT_EQ(set, NeSet{1004});
}

}  // namespace
