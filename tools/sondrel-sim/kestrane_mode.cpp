#include "kestrane_mode.h"

#include <QLocale>

#include "drift.h"
#include "option_values.h"
#include "platform/number_text.h"
#include "run_control.h"

namespace {

using option_values::readCount;
using option_values::readNumber;

const QCommandLineOption kInterval("interval", "Milliseconds between writes.", "ms", "1000");
const QCommandLineOption kConductivity("conductivity", "Conductivity in mS/cm.", "value", "35.008");
const QCommandLineOption kPressure("pressure", "Pressure in dbar.", "value", "-0.75");
const QCommandLineOption kTemperature("temperature", "Temperature in degrees Celsius.", "value",
                                      "15.5");
const QCommandLineOption kDrift("drift",
                                "Let the values swing slowly around the given ones, so that a "
                                "display visibly changes.");
const QCommandLineOption kRecordsPerWrite("records-per-write",
                                          "Records sent together in one write.", "n", "1");
const QCommandLineOption kChunk("chunk", "Send each write in pieces of this many bytes (0: whole).",
                                "bytes", "0");
const QCommandLineOption kChunkPause("chunk-pause", "Milliseconds between pieces.", "ms", "20");
const QCommandLineOption kGarbageEvery("garbage-every",
                                       "Make every n-th line garbage without numbers (0: never).",
                                       "n", "0");
const QCommandLineOption kCount("count", "Stop after this many lines (0: run until stopped).", "n",
                                "0");

// Instrument records always use "." as the decimal point.
QByteArray format(double value, QStringView pattern) {
    return number_text::formatPattern(value, pattern, QLocale::c()).toLatin1();
}

struct Settings {
    int interval = 1000;
    double conductivity = 0;
    double pressure = 0;
    double temperature = 0;
    bool drift = false;
    int recordsPerWrite = 1;
    int chunk = 0;
    int chunkPause = 20;
    int garbageEvery = 0;
    int count = 0;
};

std::optional<Settings> readSettings(const QCommandLineParser& parser) {
    Settings s;
    s.drift = parser.isSet(kDrift);
    if (readCount(parser, kInterval, 1, s.interval) &&
        readNumber(parser, kConductivity, s.conductivity) &&
        readNumber(parser, kPressure, s.pressure) &&
        readNumber(parser, kTemperature, s.temperature) &&
        readCount(parser, kRecordsPerWrite, 1, s.recordsPerWrite) &&
        readCount(parser, kChunk, 0, s.chunk) && readCount(parser, kChunkPause, 0, s.chunkPause) &&
        readCount(parser, kGarbageEvery, 0, s.garbageEvery) &&
        readCount(parser, kCount, 0, s.count)) {
        return s;
    }
    return std::nullopt;
}

// A slow swing of the given amplitude that starts at zero; about `period` records per swing.
double swing(const Settings& s, int n, double amplitude, int period) {
    return s.drift ? drift::swing(n, amplitude, period) : 0;
}

// Line n (from 0) of the stream.
QByteArray line(const Settings& s, int n) {
    if (s.garbageEvery > 0 && (n + 1) % s.garbageEvery == 0) {
        return "#~ line noise, no numbers here ~#\r\n";
    }
    return kestraneRecord(s.conductivity + swing(s, n, 2, 120), s.pressure + swing(s, n, 5, 90),
                          s.temperature + swing(s, n, 1, 180)) +
           "\r\n";
}

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

void addOptions(QCommandLineParser& parser) {
    parser.addOptions({kInterval, kConductivity, kPressure, kTemperature, kDrift, kRecordsPerWrite,
                       kChunk, kChunkPause, kGarbageEvery, kCount});
}

// A line end goes first, as if the instrument had just finished a line: a reader that drops
// the partial line in flight then reads the very first record.
int run(const QCommandLineParser& parser, Endpoint& endpoint) {
    const auto settings = readSettings(parser);
    if (!settings) {
        return 2;
    }
    if (!endpoint.write("\r\n")) {
        return run_control::stopRequested() ? 0 : 1;
    }
    for (int n = 0; settings->count == 0 || n < settings->count;) {
        QByteArray bytes;
        for (int i = 0;
             i < settings->recordsPerWrite && (settings->count == 0 || n < settings->count);
             ++i, ++n) {
            bytes += line(*settings, n);
        }
        if (!send(endpoint, *settings, bytes) ||
            !run_control::pause(std::chrono::milliseconds(settings->interval))) {
            return run_control::stopRequested() ? 0 : 1;
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
    return {"kestrane", "a Kestrane CTD sending ASCII records", addOptions, run};
}
