#include "dialogs/ReportMemo.h"

#include <gtest/gtest.h>

namespace vexamo {
namespace {

TEST(ReportMemo, LineBreaksInsideATextStartNewLines) {
    ReportMemo memo;
    int changes = 0;
    memo.setListener([&] { ++changes; });
    memo.add("head\r\n  second");
    memo.add("");
    memo.add("a\nb\rc\r\n");
    EXPECT_EQ(memo.lines(), (std::vector<std::string>{"head", "  second", "", "a", "b", "c", ""}));
    EXPECT_EQ(changes, 3);
    memo.setLine(1, "progress 50 %");
    memo.insert(0, "first");
    memo.remove(memo.lineCount() - 1);
    EXPECT_EQ(memo.text(), "first\r\nhead\r\nprogress 50 %\r\n\r\na\r\nb\r\nc");
    EXPECT_THROW(memo.remove(99), std::out_of_range);
    EXPECT_THROW(memo.setLine(99, "x"), std::out_of_range);
}

}  // namespace
}  // namespace vexamo
