// Registration of system-event handlers through one process-wide facade.
#pragma once

#include "qx_sysevent/export.h"
#include "qx_sysevent/svr_event.h"

class QXSysEventMgrIF {
public:
    // The facade, created on first use; null only when the static object
    // lock cannot be taken while none exists.
    QX_SYSEVENT_EXPORT static QXSysEventMgrIF* Instance();
    // Tears down the consumer with its handler table, then the facade.
    QX_SYSEVENT_EXPORT static void Destroy();

    // 0, 0x4103F210 when the key is already registered, or 0x4101F40D when
    // the event consumer is not available.
    QX_SYSEVENT_EXPORT int RegEventHandler(const SvrEvent& key, void (*handler)());
    // 1 (not 0) on success, or 0x4101F40D.
    QX_SYSEVENT_EXPORT int SubscribeEvent();
    // 0, or 0x4101F40D.
    QX_SYSEVENT_EXPORT int UnSubscribeEvent();

    QX_SYSEVENT_EXPORT static QXSysEventMgrIF* m_pInstance;

private:
    // Exported for binaries that already reference them; private, so that
    // code built against this header only reaches the facade through
    // Instance() and Destroy(), which keep it the process's only one.
    QX_SYSEVENT_EXPORT QXSysEventMgrIF();
    QX_SYSEVENT_EXPORT ~QXSysEventMgrIF();
};
