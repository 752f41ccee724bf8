// The exported key ordering: primary string first, then secondary, each as
// unsigned bytes with a proper prefix first; never as one joined string.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "event_mgr_fixture.h"

namespace {

using namespace std::string_literals;
using qx_test::Key;

TEST(SvrEventOrder, OrdersTrickyKeysAscending) {
    const std::vector<SvrEvent> ascending = {
        Key("", ""),      Key("", "\0"s),     Key("", "a"),    Key("\0"s, ""),  Key("\0\0"s, ""),
        Key("A", "x"),    Key("A", "y"),      Key("a", "b"),   Key("a", "z"),   Key("a\0"s, ""),
        Key("a\0b"s, ""), Key("a\0c"s, ""),   Key("ab", ""),   Key("ab", "a"),  Key("abc", ""),
        Key("b", "a"),    Key("z", "\xff"),   Key("\x7f", ""), Key("\x80", ""), Key("\x80", "\x80"),
        Key("\xff", ""),  Key("\xff\0"s, ""),
    };
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        EXPECT_FALSE(ascending[i] < ascending[i]) << "key " << i;
        for (std::size_t j = i + 1; j < ascending.size(); ++j) {
            EXPECT_TRUE(ascending[i] < ascending[j]) << "keys " << i << " and " << j;
            EXPECT_FALSE(ascending[j] < ascending[i]) << "keys " << j << " and " << i;
        }
    }
}

TEST(SvrEventOrder, FieldsAreNeverComparedJoined) {
    // Both join to "ab".
    EXPECT_TRUE(Key("a", "b") < Key("ab", ""));
    EXPECT_FALSE(Key("ab", "") < Key("a", "b"));
    // The primary string decides whenever it differs.
    EXPECT_TRUE(Key("a", "zzzz") < Key("b", ""));
}

TEST(SvrEventOrder, EqualBytesAndLengthsAreTheSameKey) {
    const SvrEvent a = Key("p\0q\x80"s, "\0"s);
    const SvrEvent b = Key("p\0q\x80"s, "\0"s);
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(b < a);
}

TEST(SvrEventOrder, KeysDifferingOnlyByTrailingNulAreDistinctInAMap) {
    std::map<SvrEvent, int> table;
    table.emplace(Key("a", ""), 1);
    table.emplace(Key("a\0"s, ""), 2);
    table.emplace(Key("a", "\0"s), 3);
    table.emplace(Key("a\0"s, ""), 4);  // same key as the second
    ASSERT_EQ(table.size(), 3u);
    std::vector<int> order;
    order.reserve(table.size());
    for (const auto& entry : table) {
        order.push_back(entry.second);
    }
    EXPECT_EQ(order, (std::vector<int>{1, 3, 2}));
}

}  // namespace
