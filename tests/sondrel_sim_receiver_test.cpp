#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <ostream>

#include "app/frm_main.h"
#include "platform/qt_serial_port.h"
#include "platform/settings_store.h"
#include "support/fake_dialogs.h"
#include "support/pty.h"

namespace {

constexpr int kInstrumentPort = 21;
constexpr int kReceiverPort = 22;

// sondrel-sim in one mode, on a pseudo-terminal linked at a path in a private directory.
class Simulator {
public:
    Simulator(const char* name, QStringList arguments) : link_(dir_.filePath(name)) {
        process_.start(QStringLiteral(SONDREL_TOOLS_DIR "/sondrel-sim/sondrel-sim"),
                       arguments << "--link" << link_);
    }
    ~Simulator() {
        process_.terminate();
        process_.waitForFinished();
    }
    bool ready() {
        return process_.waitForStarted() &&
               QTest::qWaitFor([&] { return QFileInfo(link_).isSymLink(); });
    }
    QString link() const { return link_; }

    // The printed lines after the device path, once at least `count` have come.
    QStringList lines(qsizetype count) {
        static_cast<void>(QTest::qWaitFor([&] {
            output_ += process_.readAllStandardOutput();
            return output_.count('\n') > count;
        }));
        QStringList printed = QString::fromLatin1(output_).split(u'\n', Qt::SkipEmptyParts);
        printed.removeFirst();
        return printed;
    }

private:
    QTemporaryDir dir_;
    QString link_;
    QProcess process_;
    QByteArray output_;
};

// What the receiver prints after the time columns: the format and the bytes in quotes.
QString shown(const char* format, const char* bytes) {
    return QStringLiteral("%1  \"%2\"")
        .arg(QString::fromLatin1(format).leftJustified(17), QLatin1String(bytes));
}

struct Chain {
    const char* option;
    QLocale locale;
    const char* format;
    const char* bytes;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Chain& c, std::ostream* os) {
    *os << c.option << ' ' << c.locale.name().toStdString();
}

class SimulatedChain : public ::testing::TestWithParam<Chain> {
protected:
    void TearDown() override {
        QLocale::setDefault(QLocale::system());
        test_support::mapPort(kInstrumentPort, QString());
        test_support::mapPort(kReceiverPort, QString());
        settings_store::setPortConfiguration(settings_store::kInputKey, storedIn);
        settings_store::setPortConfiguration(settings_store::kOutputKey, storedOut);
    }

    const QString storedIn = settings_store::portConfiguration(settings_store::kInputKey);
    const QString storedOut = settings_store::portConfiguration(settings_store::kOutputKey);
};

// The instrument sends 29 mS/cm, 100 dbar and -1 degree; the echosounder gets 1447.56 m/s.
TEST_P(SimulatedChain, InstrumentRecordsReachTheEchosounderAsExactTelegrams) {
    Simulator instrument("ctd", {"--mode", "kestrane", "--interval", "50", "--conductivity", "29",
                                 "--pressure", "100", "--temperature", "-1"});
    Simulator echosounder("echosounder", {"--mode", "receiver"});
    ASSERT_TRUE(instrument.ready());
    ASSERT_TRUE(echosounder.ready());
    test_support::mapPort(kInstrumentPort, instrument.link());
    test_support::mapPort(kReceiverPort, echosounder.link());

    QLocale::setDefault(GetParam().locale);
    FakeDialogs dialogs;
    frm_main window(Services{&dialogs, [](QObject* p) { return new QtSerialPort(p); }});
    window.show();
    window.findChild<QLineEdit*>("Text3")->setText(QString::number(kInstrumentPort));
    window.findChild<QPushButton*>("Command3")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.soundvelocity != 0; }));
    auto* option = window.findChild<QRadioButton*>(GetParam().option);
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    window.findChild<QLineEdit*>("Text5")->setText(QString::number(kReceiverPort));
    window.findChild<QLineEdit*>("tx_timer")->setText("50");
    window.findChild<QPushButton*>("Command4")->click();

    const QStringList printed = echosounder.lines(3);
    ASSERT_GE(printed.size(), 3);
    for (const QString& line : printed) {
        EXPECT_TRUE(line.endsWith(shown(GetParam().format, GetParam().bytes)))
            << line.toStdString();
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SimulatedChain,
    ::testing::Values(
        Chain{"op_micro", QLocale::c(), "App. Microsystems", " 1447.56 <CR><LF>"},
        Chain{"op_micro", QLocale(QLocale::German), "App. Microsystems", " 1447,56 <CR><LF>"},
        Chain{"op_ssv", QLocale(QLocale::German), "SVP 20", "1447600010-00010990000<CR><LF>"},
        Chain{"op_generic", QLocale(QLocale::German), "Generic", "S14476<CR><LF>"}),
    [](const auto& info) {
        return std::string(info.param.option) + '_' + info.param.locale.name().toStdString();
    });

TEST(SimulatedEchosounder, ShowsWhatMatchesNoTelegramPlainly) {
    Simulator echosounder("echosounder", {"--mode", "receiver"});
    ASSERT_TRUE(echosounder.ready());
    QFile line(echosounder.link());
    ASSERT_TRUE(line.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray sent =
        "S15003\r\n"                   // Generic
        "S1500\r\n"                    // a digit short
        "S15003\n"                     // no CR
        " 1500.2 \r\n"                 // one decimal
        "15002000100015990000\r\n"     // SVP 20 a digit short
        "<\"\t\xb0\r\r\n"              // bytes that must not hide
        "1500200010-00015990000\r\n";  // SVP 20
    ASSERT_EQ(line.write(sent), sent.size());

    const QStringList printed = echosounder.lines(7);
    const QStringList expected = {
        shown("Generic", "S15003<CR><LF>"),
        shown("MALFORMED", "S1500<CR><LF>"),
        shown("MALFORMED", "S15003<LF>"),
        shown("MALFORMED", " 1500.2 <CR><LF>"),
        shown("MALFORMED", "15002000100015990000<CR><LF>"),
        shown("MALFORMED", "<0x3C><0x22><TAB><0xB0><CR><CR><LF>"),
        shown("SVP 20", "1500200010-00015990000<CR><LF>"),
    };
    ASSERT_EQ(printed.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(printed[i].endsWith(expected[i])) << printed[i].toStdString();
    }
}

// A receiver does not wait for ever for the rest of a line.
TEST(SimulatedEchosounder, ShowsALineWithoutEndOnceTheLineFallsQuiet) {
    Simulator echosounder("echosounder", {"--mode", "receiver"});
    ASSERT_TRUE(echosounder.ready());
    QFile line(echosounder.link());
    ASSERT_TRUE(line.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    ASSERT_EQ(line.write("S150"), 4);
    const QStringList printed = echosounder.lines(1);
    ASSERT_EQ(printed.size(), 1);
    EXPECT_TRUE(printed[0].endsWith(shown("MALFORMED", "S150") + "  (no line end)"))
        << printed[0].toStdString();
}

}  // namespace
