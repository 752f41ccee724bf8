// How the NE queries walk a caller's input and fill a caller's output, per
// container kind. Everything else about a query is the same for all kinds.
#pragma once

#include <cstddef>
#include <list>
#include <set>
#include <vector>

#include "security/hinted_inserter.h"

namespace qx::security {

// NE ids as the management database answers them: 32 bits each.
using DeviceList = std::list<unsigned int>;

// Calls visit(id) once per input id, in the container's own order.
template <typename Input, typename Visit>
void ForEachNeId(const Input& input, Visit&& visit) {
    for (unsigned long id : input) {
        visit(id);
    }
}

// A vector is walked by index up to its length on entry: a caller passing the
// same vector as input and output on the cloud path gets it doubled, not a
// walk over memory that an append has reallocated.
template <typename Visit>
void ForEachNeId(const std::vector<unsigned long>& input, Visit&& visit) {
    const std::size_t count = input.size();
    for (std::size_t i = 0; i < count; ++i) {
        visit(input[i]);
    }
}

// Cloud path: the caller's ids join the output, which keeps what it held.
template <typename Output>
class PassThroughSink;

// In front of the output's first element, keeping input order. Elements are
// placed before that element, behind the walk, so even a list passed as input
// and output is walked only over its original elements.
template <>
class PassThroughSink<std::list<unsigned long>> {
public:
    explicit PassThroughSink(std::list<unsigned long>& out) : m_out(out), m_front(out.begin()) {}
    void operator()(unsigned long id) { m_out.insert(m_front, id); }

private:
    std::list<unsigned long>& m_out;
    std::list<unsigned long>::iterator m_front;
};

template <>
class PassThroughSink<std::vector<unsigned long>> {
public:
    explicit PassThroughSink(std::vector<unsigned long>& out) : m_out(out) {}
    void operator()(unsigned long id) { m_out.push_back(id); }

private:
    std::vector<unsigned long>& m_out;
};

template <>
class PassThroughSink<std::set<unsigned long>> : public HintedInserter<std::set<unsigned long>> {
public:
    using HintedInserter::HintedInserter;
};

// Database path: the output is replaced by the answered ids, zero-extended,
// in the database's order (a set orders them itself).
inline void ReplaceWithDevices(std::list<unsigned long>& out, const DeviceList& devices) {
    out.clear();
    for (unsigned int id : devices) {
        out.push_back(id);
    }
}

// Reserved before the first append, so a failed allocation leaves it empty.
inline void ReplaceWithDevices(std::vector<unsigned long>& out, const DeviceList& devices) {
    out.clear();
    out.reserve(devices.size());
    for (unsigned int id : devices) {
        out.push_back(id);
    }
}

inline void ReplaceWithDevices(std::set<unsigned long>& out, const DeviceList& devices) {
    out.clear();
    HintedInserter<std::set<unsigned long>> insert(out);
    for (unsigned int id : devices) {
        insert(id);
    }
}

}  // namespace qx::security
