// GetManagedNE in all five container pairings: the same procedure, told
// apart only by input walk, output fill and the kinds that the records name.
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
using Strings = std::vector<std::string>;
using NeList = std::list<unsigned long>;
using NeVector = std::vector<unsigned long>;
using NeSet = std::set<unsigned long>;

template <typename In, typename Out>
struct Pairing {
    using Input = In;
    using Output = Out;
};
struct ListToList : Pairing<NeList, NeList> {
    static constexpr const char* kInKind = "listNE";
    static constexpr const char* kOutKind = "listManagedNE";
};
struct VectorToVector : Pairing<NeVector, NeVector> {
    static constexpr const char* kInKind = "vecNE";
    static constexpr const char* kOutKind = "vecManagedNE";
};
struct SetToVector : Pairing<NeSet, NeVector> {
    static constexpr const char* kInKind = "setNE";
    static constexpr const char* kOutKind = "vecManagedNE";
};
struct SetToSet : Pairing<NeSet, NeSet> {
    static constexpr const char* kInKind = "setNE";
    static constexpr const char* kOutKind = "setManagedNE";
};
struct VectorToSet : Pairing<NeVector, NeSet> {
    static constexpr const char* kInKind = "vecNE";
    static constexpr const char* kOutKind = "setManagedNE";
};

template <typename P>
class ManagedNeFilter : public qx_test::StandinTest {
protected:
    using Input = typename P::Input;
    using Output = typename P::Output;

    void SetUp() override {
        StandinTest::SetUp();
        qx_standin::SetCloudNode(false);
        qx_standin::ClearJournal();
    }
    long Filter(int userId, const Input& input, Output& output) {
        CUserSecurityMgr manager(userId);
        qx_standin::ClearJournal();
        return manager.GetManagedNE(input, output);
    }
    static std::string Request(int userId, unsigned long entries) {
        return FilterRequestRecord(P::kInKind, userId, entries);
    }
    static std::string Answer(long retCode, int userId, unsigned long entries) {
        return AnswerRecord(P::kOutKind, retCode, userId, entries);
    }
};

using Pairings = ::testing::Types<ListToList, VectorToVector, SetToVector, SetToSet, VectorToSet>;
TYPED_TEST_SUITE(ManagedNeFilter, Pairings);

TYPED_TEST(ManagedNeFilter, SuccessReplacesTheOutputWithTheAnswerZeroExtended) {
    typename TestFixture::Output out{77};
    qx_standin::QueueMngDeviceAnswer(1, {9, 3000000000U, 5});
    EXPECT_EQ(this->Filter(42, {5, 5, 9, 3000000000UL}, out), 0);
    EXPECT_EQ(out, (typename TestFixture::Output{9, 3000000000UL, 5}));
    EXPECT_EQ(this->Calls(), (Strings{CloudCall(false), MngDeviceCall(42, {5, 9, 3000000000U}, 1,
                                                                      {9, 3000000000U, 5})}));
    EXPECT_EQ(this->Records(), (Strings{this->Request(42, 3), this->Answer(1, 42, 3)}));
}

TYPED_TEST(ManagedNeFilter, SuccessWithAnEmptyAnswerEmptiesTheOutput) {
    typename TestFixture::Output out{77, 78};
    EXPECT_EQ(this->Filter(44, {1001}, out), 0);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(this->Records(), (Strings{this->Request(44, 1), this->Answer(1, 44, 0)}));
}

TYPED_TEST(ManagedNeFilter, FailedQueryLeavesTheOutputAndIsNeverReportedAsSuccess) {
    for (int result : {0, 2, -1}) {
        qx_standin::ClearJournal();
        typename TestFixture::Output out{77};
        qx_standin::QueueMngDeviceAnswer(result, {5});
        const long expected = result == 0 ? kQueryFailedWithoutCode : result;
        EXPECT_EQ(this->Filter(42, {5}, out), expected) << result;
        EXPECT_EQ(out, typename TestFixture::Output{77});
        EXPECT_EQ(this->Records(),
                  (Strings{this->Request(42, 1), this->Answer(result, 42, 1), kServiceError}));
    }
}

TYPED_TEST(ManagedNeFilter, WideIdsNeverEnterTheFilterNorTheOutput) {
    qx_standin::SetManagedNEs(42, {5});
    typename TestFixture::Output out;
    EXPECT_EQ(this->Filter(42, {5, kFirstWideNeId + 5}, out), 0);
    EXPECT_EQ(out, typename TestFixture::Output{5});
    EXPECT_EQ(this->Calls(), (Strings{CloudCall(false), MngDeviceCall(42, {5}, 1, {5})}));
    EXPECT_EQ(this->Records(), (Strings{this->Request(42, 1), this->Answer(1, 42, 1)}));
}

TYPED_TEST(ManagedNeFilter, NothingToAskMakesNoQueryAndEmptiesTheOutput) {
    for (const typename TestFixture::Input& input :
         {typename TestFixture::Input{}, typename TestFixture::Input{kFirstWideNeId + 5}}) {
        qx_standin::ClearJournal();
        typename TestFixture::Output out{77};
        EXPECT_EQ(this->Filter(42, input, out), 0);
        EXPECT_TRUE(out.empty());
        EXPECT_EQ(this->Calls(), Strings{CloudCall(false)});
        EXPECT_TRUE(this->Records().empty());
    }
}

TYPED_TEST(ManagedNeFilter, CloudNodePassesEveryIdThroughWithAll64Bits) {
    qx_standin::SetCloudNode(true);
    const typename TestFixture::Input input{3, kFirstWideNeId + 5};
    typename TestFixture::Output out;
    EXPECT_EQ(this->Filter(42, input, out), 0);
    EXPECT_EQ(out, (typename TestFixture::Output(input.begin(), input.end())));
    EXPECT_EQ(this->Calls(), Strings{CloudCall(true)});
    EXPECT_TRUE(this->Records().empty());
}

TYPED_TEST(ManagedNeFilter, CloudNodeWithEmptyInputLeavesTheOutput) {
    qx_standin::SetCloudNode(true);
    typename TestFixture::Output out{7, 8};
    EXPECT_EQ(this->Filter(42, {}, out), 0);
    EXPECT_EQ(out, (typename TestFixture::Output{7, 8}));
}

TYPED_TEST(ManagedNeFilter, AdministratorMakesTheSameQuery) {
    typename TestFixture::Output out;
    EXPECT_EQ(this->Filter(1, {1001, 9999}, out), 0);
    EXPECT_EQ(out, typename TestFixture::Output{1001});
    EXPECT_EQ(this->Calls().back(), MngDeviceCall(1, {1001, 9999}, 1, {1001}));
}

TYPED_TEST(ManagedNeFilter, NegativeUserIdIsSentAsItsUnsignedBits) {
    typename TestFixture::Output out;
    EXPECT_EQ(this->Filter(-1, {5}, out), 0);
    EXPECT_EQ(this->Calls().back(), MngDeviceCall(4294967295U, {5}, 1, {}));
    EXPECT_EQ(this->Records().front(), this->Request(-1, 1));
}

TYPED_TEST(ManagedNeFilter, QueryArgumentsAreFixed) {
    typename TestFixture::Output out;
    this->Filter(42, {1001}, out);
    const auto query = LastQuery();
    ASSERT_EQ(query.call, Call::GetMngDevice);
    EXPECT_EQ(query.userId, 42U);
    EXPECT_TRUE(query.resultListWasEmpty);
    EXPECT_EQ(query.arg4, 0U);
    EXPECT_FALSE(query.arg5);
}

TYPED_TEST(ManagedNeFilter, ExceptionFromTheQueryLeavesTheOutputAfterTheFirstRecord) {
    qx_standin::InjectFault(Call::GetMngDevice);
    typename TestFixture::Output out{77};
    EXPECT_THROW(this->Filter(42, {5, 9}, out), qx_standin::InjectedFault);
    EXPECT_EQ(out, typename TestFixture::Output{77});
    EXPECT_EQ(this->Records(), Strings{this->Request(42, 2)});
}

TYPED_TEST(ManagedNeFilter, ExceptionFromTheNodeQuestionComesFirst) {
    qx_standin::InjectFault(Call::IsCloudNode);
    typename TestFixture::Output out{77};
    EXPECT_THROW(this->Filter(42, {5}, out), qx_standin::InjectedFault);
    EXPECT_EQ(out, typename TestFixture::Output{77});
    EXPECT_EQ(qx_standin::CountCalls(Call::GetMngDevice), 0U);
    EXPECT_TRUE(this->Records().empty());
}

// Where the cloud path puts the caller's ids depends on the output kind.
class CloudPassThrough : public qx_test::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        qx_standin::SetCloudNode(true);
    }
    CUserSecurityMgr manager{42};
};

TEST_F(CloudPassThrough, ListOutputGetsTheIdsInFrontInInputOrder) {
    NeList out{7, 8};
    EXPECT_EQ(manager.GetManagedNE(NeList{1, 2}, out), 0);
    EXPECT_EQ(out, (NeList{1, 2, 7, 8}));
}

TEST_F(CloudPassThrough, VectorOutputGetsTheIdsAppended) {
    NeVector out{7, 8};
    EXPECT_EQ(manager.GetManagedNE(NeVector{1, 2}, out), 0);
    EXPECT_EQ(out, (NeVector{7, 8, 1, 2}));
    EXPECT_EQ(manager.GetManagedNE(NeSet{4, 3}, out), 0);
    EXPECT_EQ(out, (NeVector{7, 8, 1, 2, 3, 4}));
}

TEST_F(CloudPassThrough, SetOutputGetsTheUnion) {
    NeSet out{2, 7};
    EXPECT_EQ(manager.GetManagedNE(NeSet{1, 2}, out), 0);
    EXPECT_EQ(out, (NeSet{1, 2, 7}));
    EXPECT_EQ(manager.GetManagedNE(NeVector{9, 1, 9}, out), 0);
    EXPECT_EQ(out, (NeSet{1, 2, 7, 9}));
}

TEST_F(CloudPassThrough, OneVectorAsInputAndOutputIsDoubled) {
    NeVector both{1, 2, 3};
    both.shrink_to_fit();
    EXPECT_EQ(manager.GetManagedNE(both, both), 0);
    EXPECT_EQ(both, (NeVector{1, 2, 3, 1, 2, 3}));
}

TEST_F(CloudPassThrough, OneListAsInputAndOutputIsDoubled) {
    NeList both{1, 2};
    EXPECT_EQ(manager.GetManagedNE(both, both), 0);
    EXPECT_EQ(both, (NeList{1, 2, 1, 2}));
}

TEST(ManagedNeFilterAliasing, OneContainerAsInputAndOutputOnTheDatabasePath) {
    qx_standin::Reset();
    qx_standin::SetCloudNode(false);
    CUserSecurityMgr alice(42);
    NeVector vec{5, 1001, 1002};
    EXPECT_EQ(alice.GetManagedNE(vec, vec), 0);
    EXPECT_EQ(vec, (NeVector{1001, 1002}));
    NeList list{1003, 5};
    EXPECT_EQ(alice.GetManagedNE(list, list), 0);
    EXPECT_EQ(list, NeList{1003});
    NeSet set{1004, 6};
    EXPECT_EQ(alice.GetManagedNE(set, set), 0);
    EXPECT_EQ(set, NeSet{1004});
}

}  // namespace
