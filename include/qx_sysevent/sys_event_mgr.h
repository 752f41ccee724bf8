/// @file
/// Registration of system-event handlers through one process-wide facade.
#pragma once

#include "qx_sysevent/export.h"
#include "qx_sysevent/svr_event.h"

/// The process's one facade for system events. It holds no state: every call
/// reaches the process-wide event consumer, which the library derives from the
/// platform's ZORVem::EventConsumerProxy and creates on first use (a trace
/// record "SYSEvent::SYSEvent"). The consumer keeps one handler per key.
///
/// Threads: Instance() and Destroy() serialise on ACE's static object lock.
/// The other three calls take no lock and share the consumer's handler table:
/// run them from one thread at a time, and do not call Destroy() while
/// another thread is inside any call.
///
/// Exceptions: the library throws none of its own. What the platform throws
/// while the consumer is created (the ZORVem::EventConsumerProxy constructor,
/// the trace library on the record "SYSEvent::SYSEvent"), and std::bad_alloc,
/// pass to the caller of RegEventHandler(), SubscribeEvent() and
/// UnSubscribeEvent(); no consumer is then kept, and the next call tries
/// again. Destroy() throws nothing: the destructors of the facade and of the
/// consumer catch and drop everything.
class QXSysEventMgrIF {
public:
    /// The facade, created on first use. Calls no platform function.
    /// Exceptions: std::bad_alloc, with nothing created.
    /// @return the facade; null only when ACE's static object lock cannot be
    /// taken while none exists.
    QX_SYSEVENT_EXPORT static QXSysEventMgrIF* Instance();
    /// Destroys the event consumer with its handlers (a trace record
    /// "SYSEvent::~SYSEven"), then the facade; pointers that Instance()
    /// returned dangle after it. The next Instance() starts afresh. Without a
    /// consumer, one is created to be destroyed: the log shows
    /// "SYSEvent::SYSEvent" first. Does nothing without a facade, or when
    /// the static object lock cannot be taken.
    /// Exceptions: none leave it. A failed trace record or consumer creation
    /// is dropped, and the facade is destroyed all the same.
    QX_SYSEVENT_EXPORT static void Destroy();

    /// Stores a copy of `key` with `handler`, null included. The library
    /// never calls a stored handler: no platform event reaches the table.
    /// Trace records on failure: "RegEventHandler can not find key!" when
    /// the key is registered already (the text is the old library's, though
    /// the key was found); "pEventConsumer is NULL by RegEventHandler!"
    /// when the consumer is not available.
    /// Exceptions: those of creating the consumer (see the class), of the
    /// trace library on either record, and std::bad_alloc; the handler is
    /// then not stored.
    /// @return 0; qx_sysevent::kEventKeyAlreadyRegistered when the key is
    /// registered already (the first handler stays); or
    /// qx_sysevent::kEventConsumerUnavailable.
    QX_SYSEVENT_EXPORT int RegEventHandler(const SvrEvent& key, void (*handler)());
    /// Reports success without asking the platform: no subscription is made.
    /// Trace record on failure: "pEventConsumer is NULL by SubscribeEvent!".
    /// Exceptions: those of creating the consumer (see the class), and of
    /// the trace library on that record.
    /// @return 1 (not 0), or qx_sysevent::kEventConsumerUnavailable.
    QX_SYSEVENT_EXPORT int SubscribeEvent();
    /// Ends the consumer's platform subscription (ZORVem::EventConsumerProxy::
    /// unsubscribe()) when it has one, which SubscribeEvent() never makes.
    /// Trace record on failure: "pEventConsumer is NULL by
    /// UnSubscribeEvent!".
    /// Exceptions: those of creating the consumer (see the class), and of
    /// the trace library on that record.
    /// @return 0, or qx_sysevent::kEventConsumerUnavailable.
    QX_SYSEVENT_EXPORT int UnSubscribeEvent();

    /// The facade while one exists, else null. Exported for binaries that
    /// read it directly; only Instance() and Destroy() write it.
    QX_SYSEVENT_EXPORT static QXSysEventMgrIF* m_pInstance;

private:
    // Exported for binaries that already reference them; private, so that
    // code built against this header only reaches the facade through
    // Instance() and Destroy(), which keep it the process's only one.
    QX_SYSEVENT_EXPORT QXSysEventMgrIF();
    QX_SYSEVENT_EXPORT ~QXSysEventMgrIF();
};
