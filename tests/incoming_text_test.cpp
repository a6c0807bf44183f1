#include "input/incoming_text.h"

#include <gtest/gtest.h>

namespace {

constexpr qsizetype kLongest = IncomingText::kLongestLine;

struct Piece {
    QByteArray bytes;
    qsizetype column;  // where the box's last line ends before the piece
    QString shown;
};

TEST(IncomingText, ShowsEachPieceWithOneBreakPerLineAndLongLinesBroken) {
    const std::vector<std::vector<Piece>> cases = {
        {{"a\tb\r\nc\r\n", 0, "a\tb\r\nc\r\n"}},
        {{"a\r", 0, "a\r"}, {"\nb", 0, "b"}},  // the LF of a CR LF split between pieces
        {{"a", 0, "a"}, {"\nb", 1, "\nb"}},
        {{"\xb0\xff", 0, QString::fromLatin1("\xb0\xff")}},
        {{QByteArray("a\0b\x1b\x7f\x85", 6), 0, QStringLiteral("a\uFFFDb\uFFFD\uFFFD\uFFFD")}},
        {{QByteArray(kLongest + 10, 'x'), 0, QString(kLongest, u'x') + u'\n' + QString(10, u'x')}},
        {{"xxxxxx", kLongest - 2, "xx\nxxxx"}},
        {{"xx\rxxxx\nxx", kLongest - 2, "xx\rxxxx\nxx"}},
    };
    for (const auto& pieces : cases) {
        IncomingText incoming;
        for (const Piece& piece : pieces) {
            EXPECT_EQ(incoming.show(piece.bytes, piece.column), piece.shown)
                << piece.bytes.left(40).toStdString();
        }
    }
}

}  // namespace
