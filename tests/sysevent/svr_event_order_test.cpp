// Event keys: the exported ordering (primary string first, then secondary,
// each as unsigned bytes with a proper prefix first; never as one joined
// string) and the table entries it tells apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_mgr_fixture.h"

namespace {

using namespace std::string_literals;
using qx_test::EventMgrTest;
using qx_test::FirstHandler;
using qx_test::Key;
using qx_test::kKeyAlreadyRegistered;

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

// The consumer's table keeps each key as given: copying must keep embedded
// zero bytes and bytes of 0x80 and up, and never join the two fields.
TEST_F(EventMgrTest, KeysThatDifferAnywhereRegisterSeparately) {
    QXSysEventMgrIF* facade = QXSysEventMgrIF::Instance();
    const std::vector<SvrEvent> keys = {Key("", ""),     Key("A", "x"),   Key("A", "y"),
                                        Key("ab", ""),   Key("a", "b"),   Key("a", ""),
                                        Key("a\0"s, ""), Key("a", "\0"s), Key("\x80", "")};
    for (const SvrEvent& key : keys) {
        EXPECT_EQ(facade->RegEventHandler(key, FirstHandler), 0);
    }
    for (const SvrEvent& key : keys) {
        EXPECT_EQ(facade->RegEventHandler(key, nullptr), kKeyAlreadyRegistered);
    }
}

}  // namespace
