// The key under which a system-event handler is registered.
#pragma once

#include <string>

#include "qx_sysevent/export.h"

// Two opaque byte strings (any byte, NUL included). Keys order by the primary
// string, then by the secondary one; the two are never compared joined.
class SvrEvent {
public:
    std::string m_strPrimaryKey;
    std::string m_strSecondaryKey;

    QX_SYSEVENT_EXPORT bool operator<(const SvrEvent& other) const;
};
