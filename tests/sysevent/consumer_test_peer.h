// The tests' view into the library-private consumer: its table, its flag and
// its instance pointer. Only the white-box test binary, which compiles the
// consumer itself, can use it.
#pragma once

#include <cstddef>

#include "common/static_singleton.h"
#include "sysevent/sys_event_consumer.h"

class QXSysEventConsumerTestPeer {
public:
    using Handler = QXSysEventConsumer::Handler;

    static QXSysEventConsumer* Current() {
        return qx::LoadInstance(QXSysEventConsumer::m_pInstance);
    }
    static void SetSubscribed(QXSysEventConsumer& consumer, bool subscribed) {
        consumer.m_bSubscribed = subscribed;
    }
    static bool IsSubscribed(const QXSysEventConsumer& consumer) { return consumer.m_bSubscribed; }
    static std::size_t HandlerCount(const QXSysEventConsumer& consumer) {
        return consumer.m_mapEventHandler.size();
    }
    // The handler stored under the key; `found` tells whether there is one.
    static Handler StoredHandler(const QXSysEventConsumer& consumer, const SvrEvent& key,
                                 bool& found) {
        auto entry = consumer.m_mapEventHandler.find(key);
        found = entry != consumer.m_mapEventHandler.end();
        return found ? entry->second : nullptr;
    }
};
