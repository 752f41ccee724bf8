// The library's one event consumer: the handler table behind
// QXSysEventMgrIF, created on first use and destroyed by the facade. Private
// to the library.
#pragma once

#include <map>

#include "platform/event_consumer_proxy.h"
#include "qx_sysevent/svr_event.h"

class QXSysEventConsumer : public ZORVem::EventConsumerProxy {
public:
    using Handler = void (*)();

    // The consumer, created if there is none; null only when the static
    // object lock cannot be taken.
    static QXSysEventConsumer* Instance();
    static void Destroy();

    // 0, or 0x4103F210 when the key is already registered (the first handler
    // stays). The handler is stored as given, null included.
    int RegEventHandler(const SvrEvent& key, Handler handler);
    // Reports success; no platform subscription is made.
    bool SubscribeEvent();
    // Releases the platform subscription, if one is flagged.
    void UnSubscribeEvent();

    // Incoming events are not dispatched to the stored handlers.
    void PushEvent(const ZORVcommon::StringSeq& event) override;

private:
    QXSysEventConsumer();
    ~QXSysEventConsumer() override;

    static QXSysEventConsumer* m_pInstance;

    bool m_bSubscribed = false;
    std::map<SvrEvent, Handler> m_mapEventHandler;
};
