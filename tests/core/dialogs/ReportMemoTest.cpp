#include <gtest/gtest.h>

#include "common/Errors.h"
#include "dialogs/ReportMemo.h"

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

TEST(ReportFile, BytesAreWindows1251LinesEachEndedByCrLf) {
    // "Пуск" is CF F3 F1 EA in Windows-1251.
    const std::vector<std::string> lines{"Run", "Пуск", ""};
    const std::string bytes = reportFileBytes(lines);
    EXPECT_EQ(bytes, "Run\r\n\xcf\xf3\xf1\xea\r\n\r\n");
    EXPECT_EQ(reportFileLines(bytes), lines);
    // An empty report is an empty file, and an empty file an empty report.
    EXPECT_TRUE(reportFileBytes({}).empty());
    EXPECT_TRUE(reportFileLines("").empty());
    // A file written elsewhere may end its lines with LF or CR, or not end the last.
    EXPECT_EQ(reportFileLines("a\nb\rc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_THROW(reportFileBytes({"\xe2\x98\x83"}), EncodingError);  // a snowman
}

TEST(ReportFile, SplittingKeepsEveryPieceBetweenLineEnds) {
    EXPECT_EQ(splitLines(""), (std::vector<std::string>{""}));
    EXPECT_EQ(splitLines("x\r\n"), (std::vector<std::string>{"x", ""}));
    EXPECT_EQ(splitLines("\r\r\n\n"), (std::vector<std::string>{"", "", "", ""}));
}

}  // namespace
}  // namespace vexamo
