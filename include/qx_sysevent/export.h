// Marks what libqx_sysevent exports; everything else stays hidden.
#pragma once

#if defined(QX_SYSEVENT_BUILDING)
#define QX_SYSEVENT_EXPORT __attribute__((visibility("default")))
#else
#define QX_SYSEVENT_EXPORT
#endif
