// SvrEvent::operator< on arbitrary bytes: it must agree with a plain
// byte-by-byte lexicographic reference and be a strict weak ordering whose
// equivalence is byte equality of both fields.
#include <cstddef>
#include <cstdint>
#include <string>

#include "qx_sysevent/svr_event.h"

namespace {

// Takes a length byte, then up to that many bytes.
std::string TakeString(const std::uint8_t*& data, std::size_t& size) {
    if (size == 0) {
        return {};
    }
    std::size_t length = data[0];
    ++data;
    --size;
    if (length > size) {
        length = size;
    }
    std::string out(reinterpret_cast<const char*>(data), length);
    data += length;
    size -= length;
    return out;
}

SvrEvent TakeKey(const std::uint8_t*& data, std::size_t& size) {
    SvrEvent key;
    key.m_strPrimaryKey = TakeString(data, size);
    key.m_strSecondaryKey = TakeString(data, size);
    return key;
}

// -1, 0 or 1 as s orders before, with, or after t.
int ReferenceCompare(const std::string& s, const std::string& t) {
    for (std::size_t i = 0; i < s.size() && i < t.size(); ++i) {
        const auto a = static_cast<unsigned char>(s[i]);
        const auto b = static_cast<unsigned char>(t[i]);
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    if (s.size() == t.size()) {
        return 0;
    }
    return s.size() < t.size() ? -1 : 1;
}

bool ReferenceLess(const SvrEvent& a, const SvrEvent& b) {
    const int primary = ReferenceCompare(a.m_strPrimaryKey, b.m_strPrimaryKey);
    if (primary != 0) {
        return primary < 0;
    }
    return ReferenceCompare(a.m_strSecondaryKey, b.m_strSecondaryKey) < 0;
}

bool SameBytes(const SvrEvent& a, const SvrEvent& b) {
    return a.m_strPrimaryKey == b.m_strPrimaryKey && a.m_strSecondaryKey == b.m_strSecondaryKey;
}

bool Equivalent(const SvrEvent& a, const SvrEvent& b) { return !(a < b) && !(b < a); }

void Check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

void CheckPair(const SvrEvent& a, const SvrEvent& b) {
    Check((a < b) == ReferenceLess(a, b));
    Check(!(a < b) || !(b < a));
    Check(Equivalent(a, b) == SameBytes(a, b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SvrEvent a = TakeKey(data, size);
    const SvrEvent b = TakeKey(data, size);
    const SvrEvent c = TakeKey(data, size);
    const SvrEvent keys[] = {a, b, c};
    for (const SvrEvent& x : keys) {
        Check(!(x < x));  // NOLINT(misc-redundant-expression): irreflexivity
        for (const SvrEvent& y : keys) {
            CheckPair(x, y);
            for (const SvrEvent& z : keys) {
                Check(!(x < y && y < z) || x < z);
                Check(!(Equivalent(x, y) && Equivalent(y, z)) || Equivalent(x, z));
            }
        }
    }
    return 0;
}
