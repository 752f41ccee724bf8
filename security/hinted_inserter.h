// Insertion into a std::set that hints each element with the position after
// the one placed or found before it, so ascending input costs amortised
// constant time per element.
#pragma once

#include <iterator>

namespace qx::security {

template <typename Set>
class HintedInserter {
public:
    explicit HintedInserter(Set& set)
        : m_set(set), m_hint(set.end()), m_before(set.empty() ? set.end() : std::prev(set.end())) {}

    void operator()(const typename Set::value_type& value) {
        const auto less = m_set.key_comp();
        // A value equal to the one just before the hint is already there; the
        // set's own hinted insert would fall back to a full search for it.
        if (m_before != m_set.end() && !less(*m_before, value) && !less(value, *m_before)) {
            return;
        }
        // Ascending input appends every element. The position after the last
        // one is the end: stepping there would climb the tree's whole right
        // spine, a cost that grows with the set.
        const bool appends =
            m_hint == m_set.end() && (m_before == m_set.end() || less(*m_before, value));
        m_before = m_set.insert(m_hint, value);
        if (!appends) {
            m_hint = std::next(m_before);
        }
    }

private:
    Set& m_set;
    typename Set::iterator m_hint;
    // The element just before the hint (the one placed or found last), or
    // the end when there is none.
    typename Set::iterator m_before;
};

}  // namespace qx::security
