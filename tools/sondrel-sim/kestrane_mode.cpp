#include "kestrane_mode.h"

#include <chrono>
#include <deque>
#include <optional>
#include <random>

#include "drift.h"
#include "instrument_lines.h"
#include "line_journal.h"
#include "line_options.h"
#include "option_values.h"
#include "paced_stream.h"
#include "run_control.h"

namespace {

using namespace line_options;
using instrument_lines::format;
using option_values::kDrift;
using option_values::readCount;

const QCommandLineOption kRecordsPerWrite("records-per-write",
                                          "Records sent together in one write.", "n", "1");
const QCommandLineOption kChunk("chunk", "Send each write in pieces of this many bytes (0: whole).",
                                "bytes", "0");
const QCommandLineOption kChunkPause("chunk-pause", "Milliseconds between pieces.", "ms", "20");
const QCommandLineOption kRate("rate",
                               "Send lines back to back at this many bytes a second, in the small "
                               "pieces a serial line delivers (11520 is a 115200-baud line), "
                               "instead of one write every --interval (0: off).",
                               "bytes", "0");
const QCommandLineOption kGarbageEvery("garbage-every",
                                       "Make every n-th line garbage without numbers (0: never).",
                                       "n", "0");
const QCommandLineOption kNoiseEvery("noise-every",
                                     "Make every n-th line binary noise: random bytes of every "
                                     "value but TAB, never a CR LF (0: never).",
                                     "n", "0");
const QCommandLineOption kLongEvery("long-every",
                                    "Make every n-th line an over-long record: a record padded "
                                    "with further fields to --long-length bytes (0: never).",
                                    "n", "0");
const QCommandLineOption kLongLength("long-length", "Length of an over-long record.", "bytes",
                                     "1000");
const QCommandLineOption kSequence("sequence",
                                   "Let the pressure count the lines: line n (from 0) reads "
                                   "n/1000 dbar, so a reader's pressure tells which line it took.");
const QCommandLineOption kDuration("duration",
                                   "Stop sending after this many seconds (0: run until stopped).",
                                   "seconds", "0");
const QCommandLineOption kHold("hold",
                               "Once --count or --duration has ended the sending, keep the line "
                               "open until stopped, so that a reader can take what is on its way.");
const QCommandLineOption kJournal(
    "journal",
    "Write \"<n> <kind>\" to this file for every line n (from 0) "
    "that is not an ordinary record, and \"sent <count>\" at the end.",
    "path");

struct Settings {
    option_values::Reading values;
    bool sequence = false;
    // How the bytes reach the line.
    int interval = 1000;
    int recordsPerWrite = 1;
    int chunk = 0;
    int chunkPause = 20;
    int rate = 0;
    // Lines that are not ordinary records.
    struct {
        int garbageEvery = 0;
        int noiseEvery = 0;
        int longEvery = 0;
        int longLength = 0;
    } faults;
    // When the sending ends.
    int count = 0;
    int duration = 0;
    bool hold = false;
    QString journal;
};

std::optional<Settings> readSettings(const QCommandLineParser& parser) {
    Settings s;
    s.sequence = parser.isSet(kSequence);
    s.hold = parser.isSet(kHold);
    s.journal = parser.value(kJournal);
    if (readCount(parser, kInterval, 1, s.interval) &&
        option_values::readReading(parser, kConductivity, kPressure, kTemperature, s.values) &&
        readCount(parser, kRecordsPerWrite, 1, s.recordsPerWrite) &&
        readCount(parser, kChunk, 0, s.chunk) && readCount(parser, kChunkPause, 0, s.chunkPause) &&
        readCount(parser, kGarbageEvery, 0, s.faults.garbageEvery) &&
        readCount(parser, kNoiseEvery, 0, s.faults.noiseEvery) &&
        readCount(parser, kLongEvery, 0, s.faults.longEvery) &&
        readCount(parser, kLongLength, 0, s.faults.longLength) &&
        readCount(parser, kRate, 0, s.rate) && readCount(parser, kCount, 0, s.count) &&
        readCount(parser, kDuration, 0, s.duration)) {
        return s;
    }
    return std::nullopt;
}

enum class Kind { Record, Garbage, Noise, Long };

const char* nameOf(Kind kind) {
    switch (kind) {
        case Kind::Garbage:
            return "garbage";
        case Kind::Noise:
            return "noise";
        case Kind::Long:
            return "long";
        case Kind::Record:
            break;
    }
    return "record";
}

Kind kindOf(const Settings& s, qint64 n) {
    const auto every = [n](int period) { return period > 0 && (n + 1) % period == 0; };
    if (every(s.faults.garbageEvery)) {
        return Kind::Garbage;
    }
    if (every(s.faults.noiseEvery)) {
        return Kind::Noise;
    }
    return every(s.faults.longEvery) ? Kind::Long : Kind::Record;
}

QByteArray record(const Settings& s, qint64 n) {
    const option_values::Reading at = drift::lineAt(s.values, static_cast<double>(n));
    return kestraneRecord(at.conductivity, s.sequence ? static_cast<double>(n) / 1000 : at.pressure,
                          at.temperature);
}

// One field, so a reader cannot take it for a record; the same bytes for the same n.
QByteArray noise(qint64 n) {
    std::mt19937 random(static_cast<std::uint32_t>(n));
    const int length = std::uniform_int_distribution<int>(8, 200)(random);
    std::uniform_int_distribution<int> anyByte(0, 255);
    QByteArray bytes;
    while (bytes.size() < length) {
        const char c = static_cast<char>(anyByte(random));
        if (c != '\t' && !(c == '\n' && bytes.endsWith('\r'))) {
            bytes += c;
        }
    }
    return bytes;
}

QByteArray longRecord(const Settings& s, qint64 n) {
    const QByteArray bare = record(s, n);
    QByteArray bytes = bare;
    while (bytes.size() < s.faults.longLength) {
        bytes += "\tEXTRA";
    }
    // Any overshoot of the padding is cut, never the record itself.
    bytes.truncate(std::max<qsizetype>(bare.size(), s.faults.longLength));
    return bytes;
}

// Line n (from 0) of the stream, with its line end.
QByteArray line(const Settings& s, qint64 n) {
    switch (kindOf(s, n)) {
        case Kind::Garbage:
            return "#~ line noise, no numbers here ~#\r\n";
        case Kind::Noise:
            return noise(n) + "\r\n";
        case Kind::Long:
            return longRecord(s, n) + "\r\n";
        case Kind::Record:
            break;
    }
    return record(s, n) + "\r\n";
}

// Hands out the lines of the stream until --count or --duration ends it, and journals each line
// once all its bytes have reached the device.
class Lines {
public:
    Lines(const Settings& s, LineJournal& journal) : s_(s), journal_(journal) {}

    std::optional<QByteArray> next() {
        if ((s_.count > 0 && produced_ >= s_.count) ||
            (s_.duration > 0 &&
             std::chrono::steady_clock::now() - start_ >= std::chrono::seconds(s_.duration))) {
            return std::nullopt;
        }
        const qint64 n = produced_++;
        QByteArray bytes = line(s_, n);
        bytes_ += bytes.size();
        pending_.push_back({bytes_, n, kindOf(s_, n)});
        return bytes;
    }

    // `total` bytes of the lines handed out have been written.
    void written(qint64 total) {
        while (!pending_.empty() && pending_.front().end <= total) {
            if (pending_.front().kind != Kind::Record) {
                journal_.line(pending_.front().n, nameOf(pending_.front().kind));
            }
            sent_ = pending_.front().n + 1;
            pending_.pop_front();
        }
    }

    qint64 sent() const { return sent_; }

private:
    struct Pending {
        qint64 end;  // bytes handed out up to the end of this line
        qint64 n;
        Kind kind;
    };

    const Settings& s_;
    LineJournal& journal_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::deque<Pending> pending_;
    qint64 produced_ = 0;
    qint64 bytes_ = 0;
    qint64 sent_ = 0;
};

bool send(Endpoint& endpoint, const Settings& s, const QByteArray& bytes) {
    if (s.chunk == 0) {
        return endpoint.write(bytes);
    }
    for (qsizetype at = 0; at < bytes.size(); at += s.chunk) {
        if ((at > 0 && !run_control::pause(std::chrono::milliseconds(s.chunkPause))) ||
            !endpoint.write(bytes.sliced(at, std::min<qsizetype>(s.chunk, bytes.size() - at)))) {
            return false;
        }
    }
    return true;
}

paced_stream::End sendAtIntervals(Endpoint& endpoint, const Settings& s, Lines& lines) {
    using paced_stream::End;
    qint64 total = 0;
    for (;;) {
        QByteArray bytes;
        for (int i = 0; i < s.recordsPerWrite; ++i) {
            const std::optional<QByteArray> next = lines.next();
            if (!next) {
                break;
            }
            bytes += *next;
        }
        if (bytes.isEmpty()) {
            return End::Finished;
        }
        if (!send(endpoint, s, bytes)) {
            return run_control::stopRequested() ? End::Stopped : End::LineFailed;
        }
        total += bytes.size();
        lines.written(total);
        if (!run_control::pause(std::chrono::milliseconds(s.interval))) {
            return End::Stopped;
        }
    }
}

void addOptions(QCommandLineParser& parser) {
    parser.addOptions({kInterval, kConductivity, kPressure, kTemperature, kDrift, kRecordsPerWrite,
                       kChunk, kChunkPause, kGarbageEvery, kNoiseEvery, kLongEvery, kLongLength,
                       kSequence, kRate, kCount, kDuration, kHold, kJournal});
}

// A line end goes first, as if the instrument had just finished a line: a reader that drops
// the partial line in flight then reads the very first record.
int run(const QCommandLineParser& parser, Endpoint& endpoint) {
    const auto settings = readSettings(parser);
    LineJournal journal;
    if (!settings || !journal.open(settings->journal)) {
        return 2;
    }
    if (!endpoint.write("\r\n")) {
        return run_control::stopRequested() ? 0 : 1;
    }
    Lines lines(*settings, journal);
    const paced_stream::End end = settings->rate > 0
                                      ? paced_stream::send(
                                            endpoint, settings->rate, [&] { return lines.next(); },
                                            [&](qint64 total) { lines.written(total); })
                                      : sendAtIntervals(endpoint, *settings, lines);
    journal.end(lines.sent());
    if (end == paced_stream::End::LineFailed) {
        return 1;
    }
    if (end == paced_stream::End::Finished && settings->hold) {
        while (run_control::pause(std::chrono::seconds(1))) {
        }
    }
    return 0;
}

}  // namespace

QByteArray kestraneRecord(double conductivity, double pressure, double temperature) {
    return format(conductivity, u"0000.000") + "\tMS/CM\t" + format(pressure, u"00.000") +
           "\tDBAR\t" + format(temperature, u"00.000") + "\tC";
}

Mode kestraneMode() {
    return {"kestrane", "a Kestrane CTD sending ASCII records", Mode::Flow::Sends, addOptions, run};
}
