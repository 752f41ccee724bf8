// Event consumer base class of the platform's event service. Declarations
// only: the real platform, or the stand-in in platform/standin, defines every
// member out of line.
#pragma once

#include <ace/Task.h>

namespace ZORVem {

// Numeric values are what callers pass; the names are only labels.
enum EventClientType { EVENT_CLIENT_SYSTEM = 0 };
enum ConnectionMode { CONNECTION_DIRECT = 0, CONNECTION_PERSISTENT = 1 };

class EventFilter;

}  // namespace ZORVem

namespace ZORVcommon {
class StringSeq;
}  // namespace ZORVcommon

namespace Json {
class Value;
}  // namespace Json

namespace ZORVem {

// The virtual operations below keep their declaration order: it is the order
// of the virtual table that derived consumers, built elsewhere, rely on.
class EventConsumerProxy : public ACE_Task_Base {
public:
    EventConsumerProxy(EventClientType clientType, bool flag, ConnectionMode mode);
    ~EventConsumerProxy() override;

    int svc() override;

    virtual int subscribe(EventFilter& filter);
    virtual int subscribe(const char* domain, ZORVcommon::StringSeq& eventTypes,
                          const char* constraint);
    // Delivers one incoming event to the consumer.
    virtual void PushEvent(const ZORVcommon::StringSeq& event);
    virtual void onConnectionBroken();
    virtual int asynSubscribe(EventFilter& filter);
    virtual int asynSubscribe(const char* domain, ZORVcommon::StringSeq& eventTypes,
                              const char* constraint);
    virtual void reStartCallback();
    virtual void PushEventForJson(const Json::Value& event);

    int unsubscribe();
};

}  // namespace ZORVem
