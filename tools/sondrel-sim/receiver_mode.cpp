#include "receiver_mode.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <chrono>
#include <iostream>
#include <optional>
#include <utility>
#include <vector>

#include "output/telegram_formats.h"
#include "platform/number_text.h"
#include "run_control.h"

namespace {

using Clock = std::chrono::steady_clock;

// A line whose end has not come within this time is shown as it stands, as a receiver with a
// timeout would see it.
constexpr auto kQuietGap = std::chrono::seconds(1);
constexpr std::chrono::milliseconds kPoll(100);

// The telegrams exactly as Sondrel Converter sends them, CR LF included.
QString formatOf(const QByteArray& line) {
    static const std::vector<std::pair<QString, QRegularExpression>> patterns = [] {
        std::vector<std::pair<QString, QRegularExpression>> compiled;
        for (const TelegramFormat& format : telegrams::formats()) {
            compiled.emplace_back(QLatin1String(format.name),
                                  QRegularExpression(QLatin1String(format.pattern)));
        }
        return compiled;
    }();
    const QString text = QString::fromLatin1(line);
    for (const auto& [name, pattern] : patterns) {
        if (pattern.match(text).hasMatch()) {
            return name;
        }
    }
    return QStringLiteral("MALFORMED");
}

// Printable ASCII as it is; everything else, and the "<" and quote that frame the output, spelled
// out so that no byte can hide or be mistaken for another.
QByteArray visible(const QByteArray& line) {
    QByteArray shown;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\r') {
            shown += "<CR>";
        } else if (byte == '\n') {
            shown += "<LF>";
        } else if (byte == '\t') {
            shown += "<TAB>";
        } else if (byte < 0x20 || byte >= 0x7f || byte == '<' || byte == '"') {
            shown += "<0x" + QByteArray::number(byte, 16).toUpper().rightJustified(2, '0') + '>';
        } else {
            shown += c;
        }
    }
    return shown;
}

class Printer {
public:
    void print(const QByteArray& line, const char* note = "") {
        const Clock::time_point now = Clock::now();
        QString gap = QStringLiteral("first");
        if (previous_) {
            const double seconds = std::chrono::duration<double>(now - *previous_).count();
            gap = QLatin1Char('+') + number_text::formatPattern(seconds, u"0.000", QLocale::c()) +
                  QStringLiteral(" s");
        }
        previous_ = now;
        std::cout << QDateTime::currentDateTime().toString(u"HH:mm:ss.zzz").toStdString() << "  "
                  << gap.rightJustified(10).toStdString() << "  "
                  << formatOf(line).leftJustified(17).toStdString() << "  " << '"'
                  << visible(line).constData() << '"' << note << std::endl;
    }

private:
    std::optional<Clock::time_point> previous_;
};

void addOptions(QCommandLineParser&) {}

int run(const QCommandLineParser&, Endpoint& endpoint) {
    Printer printer;
    QByteArray pending;
    Clock::time_point lastByte = Clock::now();
    while (!run_control::stopRequested()) {
        char chunk[4096];
        const std::int64_t n = endpoint.read(chunk, sizeof chunk, kPoll);
        if (n < 0) {
            std::cerr << "sondrel-sim: the line failed\n";
            return 1;
        }
        if (n > 0) {
            pending.append(chunk, n);
            lastByte = Clock::now();
        }
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            printer.print(pending.left(end + 1));
            pending.remove(0, end + 1);
        }
        if (!pending.isEmpty() && Clock::now() - lastByte >= kQuietGap) {
            printer.print(pending, "  (no line end)");
            pending.clear();
        }
    }
    if (!pending.isEmpty()) {
        printer.print(pending, "  (no line end)");
    }
    return 0;
}

}  // namespace

Mode receiverMode() {
    return {"receiver", "an echosounder printing the telegrams it receives", Mode::Flow::Receives,
            addOptions, run};
}
