#include "input/ascii_framer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const QByteArray kRecord = "0035.008\tMS/CM\t-00.750\tDBAR\t15.500\tC";

TEST(AsciiFramer, YieldsRecordsBetweenLineEnds) {
    const struct {
        QList<QByteArray> pieces;
        std::vector<QList<QByteArray>> completed;  // per piece
        QByteArray pending;
    } cases[] = {
        {{"\r\n0035.008\tMS/CM", "\t-00.750\tDBAR\t15.5", "00\tC\r\n"},
         {{}, {}, {kRecord}},
         "\r\n"},
        {{"\r\n" + kRecord + "\r", "\nnext"}, {{}, {kRecord}}, "\r\nnext"},
        {{"x\r\n" + kRecord + "\r\nsecond\r\n\r\nfour"}, {{kRecord, "second", ""}}, "\r\nfour"},
        {{"\r\na\rb\nc\r\n"}, {{"a\rb\nc"}}, "\r\n"},
    };
    for (const auto& c : cases) {
        AsciiFramer framer;
        std::vector<QList<QByteArray>> completed;
        for (const QByteArray& piece : c.pieces) {
            completed.push_back(framer.append(piece));
        }
        EXPECT_EQ(completed, c.completed) << c.pieces.front().toStdString();
        EXPECT_EQ(framer.pending(), c.pending);
    }
}

// Every other instrument ends a record at CR, LF or CR LF; the partial line before the first
// line end, empty lines and an overlong line are no records.
TEST(AsciiFramer, YieldsLines) {
    const QByteArray overlong(AsciiFramer::kCapacity + 1, 'x');
    const struct {
        QList<QByteArray> pieces;
        QList<QByteArray> records;
        QByteArray pending;
    } cases[] = {
        {{"00.1\r\n 1500.123\r\n 1500", ".2\r", "\n"}, {" 1500.123", " 1500.2"}, ""},
        {{"tail\na\rb\n\n\r\nc"}, {"a", "b"}, "c"},
        {{"\n" + overlong, "rest\nnext\n"}, {"next"}, ""},
        {{"no line end yet"}, {}, ""},
    };
    for (const auto& c : cases) {
        AsciiFramer framer;
        framer.setFraming(RecordLayout::Framing::Lines);
        QList<QByteArray> records;
        for (const QByteArray& piece : c.pieces) {
            records += framer.append(piece);
        }
        EXPECT_EQ(records, c.records) << c.pieces.front().left(20).toStdString();
        EXPECT_EQ(framer.pending(), c.pending);
    }
}

// Noise without line ends cannot grow the buffer without bound, yet a flood of records larger
// than the bound loses none of them.
TEST(AsciiFramer, BufferIsBoundedWithoutLosingRecordsAndClears) {
    AsciiFramer framer;
    framer.append(QByteArray(AsciiFramer::kCapacity, 'x'));
    framer.append("tail\r");
    EXPECT_EQ(framer.pending().size(), AsciiFramer::kCapacity);
    EXPECT_TRUE(framer.pending().endsWith("xtail\r"));
    // A line end split at the cap still frames: the CR that was kept meets its LF.
    EXPECT_EQ(framer.append("\nrecord\r\n"), QList<QByteArray>{"record"});

    QByteArray flood;
    QList<QByteArray> sent;
    for (int i = 0; flood.size() <= AsciiFramer::kCapacity; ++i) {
        sent.append(QByteArray::number(i) + "\tMS/CM\t1\tDBAR\t2\tC");
        flood += sent.back() + "\r\n";
    }
    EXPECT_EQ(framer.append(flood), sent);
    EXPECT_EQ(framer.pending(), "\r\n");

    // Clearing drops the framing line end too.
    framer.append("half a rec");
    framer.clear();
    EXPECT_EQ(framer.append(kRecord + "\r\nnext\r\n"), QList<QByteArray>{"next"});
}

}  // namespace
