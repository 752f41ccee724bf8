// The event consumer base class and TAO's POA registration as a platform of
// the client's own defines them: only the call shapes and the order of the
// virtual operations are fixed.
#pragma once

#include <ace/Task.h>

namespace ZORVem {
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
class EventConsumerProxy : public ACE_Task_Base {
public:
    EventConsumerProxy(EventClientType clientType, bool flag, ConnectionMode mode);
    virtual ~EventConsumerProxy();
    int svc() override;
    virtual int subscribe(EventFilter& filter);
    virtual int subscribe(const char* domain, ZORVcommon::StringSeq& eventTypes,
                          const char* constraint);
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

class TAO_POA_Initializer {
public:
    static int init();
};
