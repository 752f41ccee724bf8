#include "qx_sysevent/sys_event_mgr.h"

#include "common/static_singleton.h"
#include "common/trace_record.h"
#include "qx_sysevent/result_codes.h"
#include "sysevent/sys_event_consumer.h"

QXSysEventMgrIF* QXSysEventMgrIF::m_pInstance = nullptr;

QXSysEventMgrIF* QXSysEventMgrIF::Instance() {
    return qx::GetOrCreateInstance(m_pInstance, [] { return new QXSysEventMgrIF; });
}

// The destructor runs under the static object lock and takes it again through
// the consumer's Instance() and Destroy(): the lock is recursive.
void QXSysEventMgrIF::Destroy() {
    qx::DestroyInstance(m_pInstance, [](QXSysEventMgrIF* facade) { delete facade; });
}

QXSysEventMgrIF::QXSysEventMgrIF() = default;

// Obtaining the consumer creates one if there is none, only for it to be
// destroyed again; the log shows both records.
QXSysEventMgrIF::~QXSysEventMgrIF() {
    try {
        if (QXSysEventConsumer::Instance() != nullptr) {
            QXSysEventConsumer::Destroy();
        }
    } catch (...) {
        // Nothing may leave a destructor.
    }
}

int QXSysEventMgrIF::RegEventHandler(const SvrEvent& key, void (*handler)()) {
    QXSysEventConsumer* consumer = QXSysEventConsumer::Instance();
    if (consumer == nullptr) {
        qx::TraceRecord("pEventConsumer is NULL by RegEventHandler!");
        return qx_sysevent::kEventConsumerUnavailable;
    }
    return consumer->RegEventHandler(key, handler);
}

int QXSysEventMgrIF::SubscribeEvent() {
    QXSysEventConsumer* consumer = QXSysEventConsumer::Instance();
    if (consumer == nullptr) {
        qx::TraceRecord("pEventConsumer is NULL by SubscribeEvent!");
        return qx_sysevent::kEventConsumerUnavailable;
    }
    return consumer->SubscribeEvent() ? 1 : 0;
}

int QXSysEventMgrIF::UnSubscribeEvent() {
    QXSysEventConsumer* consumer = QXSysEventConsumer::Instance();
    if (consumer == nullptr) {
        qx::TraceRecord("pEventConsumer is NULL by UnSubscribeEvent!");
        return qx_sysevent::kEventConsumerUnavailable;
    }
    consumer->UnSubscribeEvent();
    return 0;
}
