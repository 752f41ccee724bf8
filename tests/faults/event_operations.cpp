// QXSysEventMgrIF. States asserted after every run:
// - Instance: m_pInstance null after a failed creation, else the facade.
// - Destroy (swallows everything): no facade and no consumer are left.
// - RegEventHandler/SubscribeEvent/UnSubscribeEvent: the consumer is absent
//   or complete (it answers, and the next operation creates no other), and
//   its table holds exactly the keys registered before, plus the new key
//   only when the call completed.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "operation.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/svr_event.h"
#include "qx_sysevent/sys_event_mgr.h"

namespace qx_faults {
namespace {

constexpr int kKeyAlreadyRegistered = 0x4103F210;

enum class Start { Nothing, Facade, FacadeAndConsumer };

SvrEvent Key(char letter) {
    SvrEvent key;
    // Long enough that copying the key allocates.
    key.m_strPrimaryKey = std::string(40, letter);
    key.m_strSecondaryKey = "secondary";
    return key;
}

void Handler() {}

void StartEvents(Start start) {
    qx_standin::Reset();
    QXSysEventMgrIF::Instance();
    QXSysEventMgrIF::Destroy();
    if (start != Start::Nothing) {
        ASSERT_NE(QXSysEventMgrIF::Instance(), nullptr);
    }
    if (start == Start::FacadeAndConsumer) {
        ASSERT_EQ(QXSysEventMgrIF::m_pInstance->RegEventHandler(Key('a'), Handler), 0);
    }
    qx_standin::ClearJournal();
}

// Whether the next operation had to create a consumer: none was left.
bool ConsumerCreatedBy(int (QXSysEventMgrIF::*operation)()) {
    qx_standin::ClearJournal();
    (QXSysEventMgrIF::m_pInstance->*operation)();
    return qx_standin::CountCalls(qx_standin::Call::ConsumerCreate) != 0;
}

// The facade is there, and the consumer is absent or complete: it answers,
// the next operation creates no other, and its table holds key a exactly when
// `keyA` and key b exactly when `keyB`. A consumer created here starts empty.
void ExpectConsumerComplete(bool keyA, bool keyB) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::m_pInstance;
    ASSERT_NE(facade, nullptr);
    const bool created = ConsumerCreatedBy(&QXSysEventMgrIF::SubscribeEvent);
    EXPECT_FALSE(ConsumerCreatedBy(&QXSysEventMgrIF::SubscribeEvent));
    EXPECT_EQ(facade->RegEventHandler(Key('a'), Handler),
              keyA && !created ? kKeyAlreadyRegistered : 0);
    EXPECT_EQ(facade->RegEventHandler(Key('b'), Handler),
              keyB && !created ? kKeyAlreadyRegistered : 0);
}

Operation CreatingFacade() {
    return {"QXSysEventMgrIF::Instance, creating", [] {
                StartEvents(Start::Nothing);
                auto got = std::make_shared<QXSysEventMgrIF*>(nullptr);
                return Attempt{
                    [got] { *got = QXSysEventMgrIF::Instance(); },
                    [got](bool completed) {
                        EXPECT_EQ(QXSysEventMgrIF::m_pInstance, *got);
                        EXPECT_EQ(*got != nullptr, completed);
                        EXPECT_EQ(qx_standin::CountCalls(qx_standin::Call::ConsumerCreate), 0U);
                    }};
            }};
}

Operation DestroyingFacade(Start start) {
    return {start == Start::Facade ? "QXSysEventMgrIF::Destroy, no consumer"
                                   : "QXSysEventMgrIF::Destroy",
            [start] {
                StartEvents(start);
                return Attempt{[] { QXSysEventMgrIF::Destroy(); },
                               [](bool completed) {
                                   EXPECT_TRUE(completed);
                                   EXPECT_EQ(QXSysEventMgrIF::m_pInstance, nullptr);
                                   ASSERT_NE(QXSysEventMgrIF::Instance(), nullptr);
                                   EXPECT_TRUE(ConsumerCreatedBy(&QXSysEventMgrIF::SubscribeEvent));
                               }};
            },
            /*swallows=*/true};
}

Operation Registering(const char* name, Start start, char letter, int expected) {
    return {name, [start, letter, expected] {
                StartEvents(start);
                auto key = std::make_shared<SvrEvent>(Key(letter));
                auto result = std::make_shared<int>(-1);
                return Attempt{[key, result] {
                                   *result =
                                       QXSysEventMgrIF::m_pInstance->RegEventHandler(*key, Handler);
                               },
                               [start, letter, result, expected](bool completed) {
                                   EXPECT_EQ(*result, completed ? expected : -1);
                                   const bool keyA = start == Start::FacadeAndConsumer;
                                   ExpectConsumerComplete(keyA || (completed && letter == 'a'),
                                                          completed && letter == 'b');
                               }};
            }};
}

Operation Subscribing(const char* name, int (QXSysEventMgrIF::*operation)(), int expected) {
    return {name, [operation, expected] {
                StartEvents(Start::Facade);
                auto result = std::make_shared<int>(-1);
                return Attempt{
                    [operation, result] { *result = (QXSysEventMgrIF::m_pInstance->*operation)(); },
                    [result, expected](bool completed) {
                        EXPECT_EQ(*result, completed ? expected : -1);
                        ExpectConsumerComplete(false, false);
                    }};
            }};
}

}  // namespace

std::vector<Operation> EventOperations() {
    return {
        CreatingFacade(),
        DestroyingFacade(Start::FacadeAndConsumer),
        DestroyingFacade(Start::Facade),
        Registering("QXSysEventMgrIF::RegEventHandler, first use", Start::Facade, 'b', 0),
        Registering("QXSysEventMgrIF::RegEventHandler", Start::FacadeAndConsumer, 'b', 0),
        Registering("QXSysEventMgrIF::RegEventHandler, duplicate", Start::FacadeAndConsumer, 'a',
                    kKeyAlreadyRegistered),
        Subscribing("QXSysEventMgrIF::SubscribeEvent", &QXSysEventMgrIF::SubscribeEvent, 1),
        Subscribing("QXSysEventMgrIF::UnSubscribeEvent", &QXSysEventMgrIF::UnSubscribeEvent, 0),
    };
}

}  // namespace qx_faults
