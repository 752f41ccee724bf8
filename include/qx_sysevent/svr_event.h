/// @file
/// The key under which a system-event handler is registered.
#pragma once

#include <string>

#include "qx_sysevent/export.h"

/// An event key: two opaque byte strings (any byte, NUL included) that the
/// caller chooses. A plain value: copy, assign and compare it freely.
class SvrEvent {
public:
    /// Decides the order of keys.
    std::string m_strPrimaryKey;
    /// Decides between keys whose primary strings are equal.
    std::string m_strSecondaryKey;

    /// Orders by the primary string, then by the secondary one (each as
    /// std::string orders); the two are never compared joined. Two keys are
    /// the same key when both strings are equal. Throws nothing.
    /// @return true when this key orders before `other`.
    QX_SYSEVENT_EXPORT bool operator<(const SvrEvent& other) const;
};
