// Insertion into a std::set that hints each element with the position after
// the one placed or found before it, so ascending input costs amortised
// constant time per element.
#pragma once

#include <iterator>

namespace qx::security {

template <typename Set>
class HintedInserter {
public:
    explicit HintedInserter(Set& set) : m_set(set), m_hint(set.end()) {}

    void operator()(const typename Set::value_type& value) {
        // A value equal to the one just before the hint is already there; the
        // set's own hinted insert would fall back to a full search for it.
        if (m_hint != m_set.begin() && !m_set.key_comp()(*std::prev(m_hint), value)) {
            if (!m_set.key_comp()(value, *std::prev(m_hint))) {
                return;
            }
        }
        m_hint = std::next(m_set.insert(m_hint, value));
    }

private:
    Set& m_set;
    typename Set::iterator m_hint;
};

}  // namespace qx::security
