// The stand-in trace library renders records exactly: every "%d" takes the
// next value, signed for an int, unsigned for an unsigned long.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/qx_trace.h"
#include "qx_standin/standin.h"
#include "standin_fixture.h"

namespace {

using NSQX_util::QXString;
using NSQX_util::QXTrace2LogFile;
using NSQX_util::QXTrace2Str;
using Strings = std::vector<std::string>;

class TraceRenderingTest : public qx_test::StandinTest {};

TEST_F(TraceRenderingTest, IntsRenderSignedUnsignedLongsUnsigned) {
    std::string out = "stale";
    QXTrace2Str(5120, out, std::string("a=%d b=%d c=%d\n"), QXString(-1),
                QXString(static_cast<unsigned long>(-1L)), QXString((1UL << 32) + 5));
    EXPECT_EQ(out, "a=-1 b=18446744073709551615 c=4294967301\n");

    QXTrace2Str(5120, out, std::string("min %d"), QXString(-2147483647 - 1));
    EXPECT_EQ(out, "min -2147483648");
    QXTrace2Str(5120, out, std::string("%d%d"), QXString(0), QXString(0UL));
    EXPECT_EQ(out, "00");
}

TEST_F(TraceRenderingTest, TextFormAndSurplusPlaceholdersStayVerbatim) {
    std::string out;
    QXTrace2Str(5120, out, "plain %d text");
    EXPECT_EQ(out, "plain %d text");
    QXTrace2Str(5120, out, std::string("%d and %d"), QXString(3));
    EXPECT_EQ(out, "3 and %d");
    QXTrace2Str(5120, out, std::string("100%% %x %d"), QXString(4));
    EXPECT_EQ(out, "100%% %x 4");
}

TEST_F(TraceRenderingTest, JournalShowsLevelValuesAndWrites) {
    std::string out;
    QXTrace2Str(5120, out, std::string("userid is %d \n"), QXString(42));
    QXTrace2LogFile("qx_sysevent", 1, out);
    EXPECT_EQ(qx_standin::JournalTexts(),
              (Strings{"QXTrace2Str(5120, \"userid is %d \\n\", int 42)",
                       "QXTrace2LogFile(\"qx_sysevent\", 1, \"userid is 42 \\n\")"}));
    ASSERT_EQ(qx_standin::TraceRecords().size(), 1U);
    EXPECT_EQ(qx_standin::TraceRecords()[0].module, "qx_sysevent");
    EXPECT_EQ(qx_standin::TraceRecords()[0].type, 1);
    EXPECT_TRUE(Calls().empty());  // trace calls are not platform calls
}

TEST_F(TraceRenderingTest, FaultsStrikeWhereAimed) {
    std::string out;
    qx_standin::InjectFault(qx_standin::Call::TraceFormat, 1, 1);
    EXPECT_NO_THROW(QXTrace2Str(5120, out, "first"));
    EXPECT_THROW(QXTrace2Str(5120, out, "second"), qx_standin::InjectedFault);
    EXPECT_NO_THROW(QXTrace2Str(5120, out, "third"));

    qx_standin::InjectTraceFault("boom");
    EXPECT_NO_THROW(QXTrace2LogFile("m", 1, "quiet"));
    EXPECT_THROW(QXTrace2LogFile("m", 1, "a boom here"), qx_standin::InjectedFault);
    EXPECT_NO_THROW(QXTrace2LogFile("m", 1, "boom again"));
    EXPECT_EQ(Records(), (Strings{"quiet", "boom again"}));
}

}  // namespace
