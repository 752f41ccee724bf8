/// @file
/// Marks what libqx_sysevent exports; everything else stays hidden.
#pragma once

/// @def QX_SYSEVENT_EXPORT
/// Gives a declaration default visibility while the library itself is built;
/// empty for its users.
#if defined(QX_SYSEVENT_BUILDING)
#define QX_SYSEVENT_EXPORT __attribute__((visibility("default")))
#else
#define QX_SYSEVENT_EXPORT
#endif
