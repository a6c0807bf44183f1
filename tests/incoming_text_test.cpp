#include "input/incoming_text.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

constexpr qsizetype kLongest = IncomingText::kLongestLine;

struct Piece {
    QByteArray bytes;
    qsizetype column;
    QString shown;
};

struct ShowCase {
    const char* name;
    std::vector<Piece> pieces;
};

class Shown : public ::testing::TestWithParam<ShowCase> {};

TEST_P(Shown, PieceByPiece) {
    IncomingText incoming;
    for (const Piece& piece : GetParam().pieces) {
        EXPECT_EQ(incoming.show(piece.bytes, piece.column), piece.shown)
            << piece.bytes.left(40).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    IncomingText, Shown,
    ::testing::Values(
        ShowCase{"RecordsPassUnchanged", {{"a\tb\r\nc\r\n", 0, "a\tb\r\nc\r\n"}}},
        ShowCase{"LineEndSplitBetweenPieces", {{"a\r", 0, "a\r"}, {"\nb", 0, "b"}}},
        ShowCase{"LoneLfAfterOtherTextStays", {{"a", 0, "a"}, {"\nb", 1, "\nb"}}},
        ShowCase{"BytesAboveAsciiAreLatin1", {{"\xb0\xff", 0, QString::fromLatin1("\xb0\xff")}}},
        ShowCase{"LongLineIsBroken",
                 {{QByteArray(kLongest + 10, 'x'), 0,
                   QString(kLongest, u'x') + u'\n' + QString(10, u'x')}}},
        ShowCase{"BreakCountsWhatTheLineAlreadyHolds", {{"xxxxxx", kLongest - 2, "xx\nxxxx"}}},
        ShowCase{"LineEndsRestartTheCount", {{"xx\rxxxx\nxx", kLongest - 2, "xx\rxxxx\nxx"}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
