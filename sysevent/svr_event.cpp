#include "qx_sysevent/svr_event.h"

// std::string::compare orders bytes as unsigned values and a proper prefix
// first, and reads each field at most once per comparison.
bool SvrEvent::operator<(const SvrEvent& other) const {
    const int primary = m_strPrimaryKey.compare(other.m_strPrimaryKey);
    if (primary != 0) {
        return primary < 0;
    }
    return m_strSecondaryKey.compare(other.m_strSecondaryKey) < 0;
}
