#include "input/ascii_framer.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <vector>

namespace {

const QByteArray kRecord = "0035.008\tMS/CM\t-00.750\tDBAR\t15.500\tC";

// Feeds the pieces one after another and lists the records each piece completed.
std::vector<QList<QByteArray>> feed(AsciiFramer& framer, const QList<QByteArray>& pieces) {
    std::vector<QList<QByteArray>> completed;
    for (const QByteArray& piece : pieces) {
        completed.push_back(framer.append(piece));
    }
    return completed;
}

struct FramingCase {
    const char* name;
    QList<QByteArray> pieces;
    std::vector<QList<QByteArray>> completed;  // per piece
    QByteArray pending;
};

class Framing : public ::testing::TestWithParam<FramingCase> {};

TEST_P(Framing, YieldsRecordsBetweenLineEnds) {
    AsciiFramer framer;
    EXPECT_EQ(feed(framer, GetParam().pieces), GetParam().completed);
    EXPECT_EQ(framer.pending(), GetParam().pending);
}

INSTANTIATE_TEST_SUITE_P(
    AsciiFramer, Framing,
    ::testing::Values(
        FramingCase{"TailOfALineFirst", {"\tDBAR\t15.500\tC\r\n0035.0"}, {{}}, "\r\n0035.0"},
        FramingCase{"RecordInThreePieces",
                    {"\r\n0035.008\tMS/CM", "\t-00.750\tDBAR\t15.5", "00\tC\r\n"},
                    {{}, {}, {kRecord}},
                    "\r\n"},
        FramingCase{"LineEndSplitBetweenPieces",
                    {"\r\n" + kRecord + "\r", "\nnext"},
                    {{}, {kRecord}},
                    "\r\nnext"},
        FramingCase{"SeveralRecordsInOnePiece",
                    {"x\r\n" + kRecord + "\r\nsecond\r\nthird\r\nfour"},
                    {{kRecord, "second", "third"}},
                    "\r\nfour"},
        FramingCase{"EmptyRecord", {"\r\n\r\n"}, {{""}}, "\r\n"},
        FramingCase{"LoneCrAndLfDoNotFrame", {"\r\na\rb\nc\r\n"}, {{"a\rb\nc"}}, "\r\n"},
        FramingCase{"NoLineEndKeepsEverything", {"abc", "def"}, {{}, {}}, "abcdef"}),
    [](const auto& info) { return info.param.name; });

TEST(AsciiFramer, ClearDropsTheFramingLineEnd) {
    AsciiFramer framer;
    framer.append("\r\nhalf a rec");
    framer.clear();
    EXPECT_TRUE(framer.append(kRecord + "\r\nnext\r\n") == QList<QByteArray>{"next"});
}

TEST(AsciiFramer, TextWithoutLineEndsIsCappedFromTheFront) {
    AsciiFramer framer;
    const QByteArray noise(AsciiFramer::kCapacity, 'x');
    framer.append(noise);
    framer.append("tail\r");
    EXPECT_EQ(framer.pending().size(), AsciiFramer::kCapacity);
    EXPECT_TRUE(framer.pending().endsWith("xtail\r"));
    // A line end split at the cap still frames: the CR that was kept meets its LF.
    EXPECT_TRUE(framer.append("\nrecord\r\n") == QList<QByteArray>{"record"});
}

TEST(AsciiFramer, AFloodLargerThanTheCapLosesNoRecord) {
    AsciiFramer framer;
    QByteArray flood = "\r\n";
    QList<QByteArray> sent;
    for (int i = 0; sent.size() < 5000; ++i) {
        sent.append(QByteArray::number(i) + "\tMS/CM\t1\tDBAR\t2\tC");
        flood += sent.back() + "\r\n";
    }
    ASSERT_GT(flood.size(), AsciiFramer::kCapacity);
    EXPECT_TRUE(framer.append(flood) == sent);
    EXPECT_EQ(framer.pending(), "\r\n");
}

}  // namespace
