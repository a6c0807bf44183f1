// The received byte stream, cut into chunks as a serial port might deliver it, through the
// framer and through the incoming-data box's text. Long runs of one byte reach the framer's
// capacity cheaply, so over-long lines are exercised too.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/check.h"
#include "input/ascii_framer.h"
#include "input/incoming_text.h"

namespace {

constexpr std::size_t kStreamLimit = 2 * AsciiFramer::kCapacity;
constexpr std::size_t kRunChunk = 4096;
constexpr std::string_view kLineEnd = "\r\n";

// The stream as one piece: the texts between consecutive CR LF pairs.
std::vector<std::string_view> recordsOf(std::string_view stream) {
    std::vector<std::string_view> records;
    std::size_t start = stream.find(kLineEnd);
    while (start != std::string_view::npos) {
        const std::size_t end = stream.find(kLineEnd, start + kLineEnd.size());
        if (end == std::string_view::npos) {
            break;
        }
        records.push_back(stream.substr(start + kLineEnd.size(), end - start - kLineEnd.size()));
        start = end;
    }
    return records;
}

// A line that fits the buffer with its framing is never lost, however the stream was cut.
bool mustArrive(std::string_view record) {
    return static_cast<qsizetype>(record.size() + kLineEnd.size() + 1) <= AsciiFramer::kCapacity;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AsciiFramer framer;
    std::string stream;
    std::vector<QByteArray> got;
    IncomingText incoming;
    QString shown;
    qsizetype column = 0;  // where the caret stands on its line in the box
    auto deliver = [&](std::string_view chunk) {
        stream.append(chunk);
        const QList<QByteArray> records = framer.append(QByteArrayView(chunk));
        got.insert(got.end(), records.begin(), records.end());
        FUZZ_CHECK(framer.pending().size() <= AsciiFramer::kCapacity);
        const QString piece = incoming.show(QByteArrayView(chunk), column);
        for (const QChar c : piece) {
            column = c == u'\r' || c == u'\n' ? 0 : column + 1;
        }
        shown += piece;
    };

    const auto* const end = data + size;
    for (const auto* p = data; p != end && stream.size() < kStreamLimit;) {
        const std::uint8_t op = *p++;
        if (op < 0x80) {
            const std::size_t length = std::min<std::size_t>(op, static_cast<std::size_t>(end - p));
            deliver(std::string_view(reinterpret_cast<const char*>(p), length));
            p += length;
        } else if (p != end) {
            const std::string run(std::size_t{op - 0x7fu} * 1024, static_cast<char>(*p++));
            for (std::size_t at = 0; at < run.size(); at += kRunChunk) {
                deliver(std::string_view(run).substr(at, kRunChunk));
            }
        }
    }

    for (const QByteArray& record : got) {
        FUZZ_CHECK(!record.contains("\r\n"));
    }
    // What came out is, in order, what the whole stream holds, less only over-long lines.
    std::size_t next = 0;
    for (const std::string_view expected : recordsOf(stream)) {
        if (next < got.size() && QByteArrayView(got[next]) == QByteArrayView(expected)) {
            ++next;
        } else {
            FUZZ_CHECK(!mustArrive(expected));
        }
    }
    FUZZ_CHECK(next == got.size());

    // The box breaks long lines, folds a CR LF split between pieces and blanks out control
    // bytes other than TAB and CR, and changes nothing else.
    for (const QStringView line : QStringView(shown).tokenize(u'\n')) {
        for (const QStringView piece : line.tokenize(u'\r')) {
            FUZZ_CHECK(piece.size() <= IncomingText::kLongestLine);
        }
    }
    std::erase(stream, '\n');
    shown.remove(u'\n');
    FUZZ_CHECK(shown.size() == static_cast<qsizetype>(stream.size()));
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char byte = stream[static_cast<std::size_t>(i)];
        const QChar sent = QLatin1Char(byte);
        const bool blanked = shown[i] == QChar::ReplacementCharacter &&
                             sent.category() == QChar::Other_Control && byte != '\t' &&
                             byte != '\r';
        FUZZ_CHECK(shown[i] == sent || blanked);
    }
    return 0;
}
