#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <tuple>

#include "app/station/station.h"
#include "input/input_controller.h"
#include "output/output_controller.h"
#include "platform/timer.h"
#include "support/event_loop.h"
#include "support/failing_text_files.h"
#include "support/station_fixture.h"

namespace {

namespace store = settings_store;

// A station on fake ports and real files that can be told to fail, created on first use from
// `options`, with a steady clock that only the test moves. Sample k carries the temperature k.
class StationTest : public FakeServicesTest {
protected:
    StationTest() {
        services.steadyClock = [this] { return nowMs; };
        services.textFiles = files;
    }

    Station& station() {
        if (!station_) {
            station_ = std::make_unique<Station>(services, options, upkeep);
        }
        return *station_;
    }
    // As when the program ends; the next station() starts afresh.
    void restart() {
        station_.reset();
        journal.clear();
    }
    FakePort& port(const char* name) { return *station().findChild<FakePort*>(name); }
    Timer& timer(const char* name) { return *station().findChild<Timer*>(name); }
    bool startInput(const char* name) {
        const Instrument& instrument = *instruments::table().named(name);
        station().chooseInstrument(instrument);
        return station().startInput(instrument, "1", "1200,O,8,1").ok();
    }
    bool startOutput(const char* interval = "500") {
        return station().startOutput("2", "4800,N,8,1", interval).ok();
    }
    // The log's file answers on its own thread.
    bool logsInto(const QString& file) {
        return test_support::runUntil([&] { return station().data_file == file; },
                                      std::chrono::seconds(10));
    }
    bool createLog() {
        station().createLog(path);
        return logsInto(path);
    }
    // The fields count as a reading, so that the lines carry them.
    void sampleTo(int last) {
        if (!station().readingTrust.hasReading()) {
            station().noteReading(nowMs, false);
        }
        while (samples < last) {
            station().temperature = ++samples;
            emit timer("Timer2").tick();
        }
    }

    qint64 nowMs = 1'000'000;
    store::Options options;
    Station::RunUpkeep upkeep = Station::RunUpkeep::WhileResuming;
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    std::shared_ptr<FailingTextFiles> files = std::make_shared<FailingTextFiles>();
    int samples = 0;

private:
    std::unique_ptr<Station> station_;
};

// Silence counts from the connection until the first record, then from each record; an
// implausible value is doubted the same way, and a typed one ages like a record. A Sea & Sun
// reading stays fresh only while each channel comes: colder than the temperature words reach,
// each one is refused. Nothing is sent before the first reading; with only fresh readings to be
// sent, only while the reading is fresh, and otherwise whatever the fields hold, of which a
// value that cannot be computed keeps the one before.
TEST_F(StationTest, TrustFollowsTheReadingsAndDecidesWhatIsSent) {
    const auto expectAfter = [&](qint64 ms, const char* note, const QByteArray& telegram) {
        nowMs += ms;
        EXPECT_EQ(station().readingTrust.note(nowMs), note);
        emit timer("Timer4").tick();
        EXPECT_EQ(std::exchange(port("com_out").written, {}), telegram);
    };
    const auto record = [&](const char* conductivity, const char* temperature) {
        deliver(&port("Com_in"), recordLine(conductivity, "000.000", temperature));
    };
    const auto poll = [&](qint64 afterMs, double temperature) {
        nowMs += afterMs;
        port("Com_SST").incoming = seaSunBlock(
            3227, sea_sun::rawCountFor(sea_sun::Channel::Temperature, temperature), 39400);
        emit timer("timer_sst").tick();
    };
    ASSERT_TRUE(startOutput());
    expectAfter(60'000, "", "");
    station().setSendFreshOnly(true);
    ASSERT_TRUE(startInput("Kestrane"));
    deliver(&port("Com_in"), "\r\n");
    expectAfter(5'000, "", "");
    expectAfter(1'000, "No reading for 6 s", "");
    record("0042.914", "15.000");
    expectAfter(5'000, "", " 1506.66 \r\n");
    expectAfter(1, "No reading for 5 s", "");
    // Pressure, conductivity and temperature, as the test entry types them.
    station().takeTyped({1.0, 4.2914, 15.0, true, true, {}, {}, {}, {}});
    expectAfter(0, "Manual value", "");
    expectAfter(6'000, "No reading for 6 s", "");

    ASSERT_TRUE(startInput("SeaSun"));
    poll(0, 20);
    poll(5'000, 10);
    expectAfter(0, "", " 1514.57 \r\n");
    poll(1'000, 10);
    expectAfter(0, "No temperature for 6 s", "");
    station().setSendFreshOnly(false);
    expectAfter(0, "No temperature for 6 s", " 1514.57 \r\n");
    ASSERT_TRUE(startInput("Kestrane"));
    record("0000.000", "00.000");
    expectAfter(0, "Invalid reading: salinity below 0, no sound velocity", " 1514.57 \r\n");
}

// On standard error the first rejected record is told at once, then the count at most once a
// minute; a minute without one lets the next be told at once again, and a new start counts
// afresh.
TEST_F(StationTest, RejectedRecordsAreToldOnceAMinute) {
    const auto reject = [&](int records) {
        for (int i = 0; i < records; ++i) {
            deliver(&port("Com_in"), "\r\n" + recordLine("ABC", "000.000", "15.000"));
        }
    };
    const auto minute = [&] { emit timer("rejected_minute").tick(); };
    testing::internal::CaptureStderr();
    ASSERT_TRUE(startInput("Kestrane"));
    reject(1);
    reject(3);
    minute();
    minute();
    reject(1);
    reject(2);
    ASSERT_TRUE(startInput("Kestrane"));
    reject(1);
    QStringList told;
    for (const QString& line :
         QString::fromStdString(testing::internal::GetCapturedStderr()).split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String("rejected"))) {
            told << line.section(QLatin1Char(' '), 1);
        }
    }
    EXPECT_EQ(told, QStringList({"input: 1 record rejected (1 since the start)",
                                 "input: 3 records rejected in the last minute (4 since the start)",
                                 "input: 1 record rejected (5 since the start)",
                                 "input: 2 records rejected in the last minute (7 since the start)",
                                 "input: 1 record rejected (1 since the start)"}));
    EXPECT_EQ(station().input().recordsRejected(), 1);
}

// The sampling interval is typed in seconds in the desktop's format and taken as whole
// milliseconds, ties to even; an entry that gives none keeps the interval in force.
TEST_F(StationTest, TheSamplingIntervalIsTypedInSeconds) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::tuple<const char*, bool, int> cases[] = {
        {"0,5", true, 500},   {"65,535", true, 65535}, {"0,0025", true, 2},
        {"65,536", false, 2}, {"1.5", false, 2},
    };
    for (const auto& [typed, taken, interval] : cases) {
        EXPECT_EQ(station().setSamplingInterval(typed), taken) << typed;
        EXPECT_EQ(timer("Timer2").interval(), interval) << typed;
    }
}

// A station that only reads [Run] never writes it. Otherwise, from the moment "Resume after a
// restart" is turned on, [Run] holds what runs as it changes; a station started from it runs the
// same again, and the log goes on under its one header.
TEST_F(StationTest, WhileResumingTheRunIsKeptAndStartsTheSameAgain) {
    const auto run = [&] {
        ASSERT_TRUE(startInput("Kestrane"));
        station().chooseTelegram(*telegrams::formats().named("SVP 20"));
        ASSERT_TRUE(startOutput("250"));
        ASSERT_TRUE(station().setSamplingInterval("2"));
        ASSERT_TRUE(createLog());
        sampleTo(25);
        station().end();
    };
    upkeep = Station::RunUpkeep::Never;
    options.resumeAtStart = true;
    run();
    EXPECT_FALSE(store::runValue(store::kRunInput) || store::runValue(store::kRunLogFile));

    restart();
    upkeep = Station::RunUpkeep::WhileResuming;
    options.resumeAtStart = false;
    samples = 0;
    station().chooseInstrument(*instruments::table().named("SeaSun"));
    station().keepRun(true);
    EXPECT_EQ(store::runValue(store::kRunInstrument), "SeaSun");
    run();
    const RunSettings resumed = readRunSettings().run;
    restart();
    station().start(resumed);
    EXPECT_TRUE(logsInto(path));
    EXPECT_EQ(journal.filter(" open"), QStringList({"Com_in open", "com_out open"}));
    EXPECT_EQ(timer("Timer4").interval(), 250);
    EXPECT_EQ(timer("Timer2").interval(), 2000);
    sampleTo(30);
    station().end();
    EXPECT_EQ(sampleNumbers(path), samplesFrom(1, 30));
    EXPECT_EQ(fileBytes(path).count("Date-Time"), 1);
}

// The end stops every clock first, so that nothing is sampled or sent from what the closing
// ports leave behind, and closes the output before the input; then it writes the waiting lines.
// Those the log file cannot take go to the file chosen, or, the chooser cancelled, to a recovery
// file, which the next start is given once.
TEST_F(StationTest, TheEndSavesTheLinesTheFileCannotTakeElsewhere) {
    for (const std::optional<QString>& chosen :
         {std::optional(dir.filePath(QStringLiteral("elsewhere.txt"))), std::optional<QString>()}) {
        SCOPED_TRACE(chosen.value_or("cancelled").toStdString());
        restart();
        files->failAppend = false;
        samples = 0;
        ASSERT_TRUE(createLog() && startOutput() && startInput("Kestrane") &&
                    port("Com_SST").open().ok());
        sampleTo(5);
        files->failAppend = true;
        journal.clear();
        QStringList ticking;
        const Station::FileChooser choose = [&] {
            for (const Timer* timer : station().findChildren<Timer*>()) {
                if (timer->isEnabled()) {
                    ticking << timer->objectName();
                }
            }
            return chosen;
        };
        const auto recovery = station().end(choose);
        EXPECT_EQ(journal, QStringList({"com_out close", "Com_in close", "Com_SST close"}));
        EXPECT_EQ(ticking, QStringList{"reading_age"});
        const QStringList recovered = station().takeRecoveredLogs();
        EXPECT_EQ(recovered, recovery ? QStringList{recovery->path} : QStringList());
        EXPECT_EQ(recovery.has_value(), !chosen);
        EXPECT_EQ(sampleNumbers(chosen.value_or(recovered.value(0))), samplesFrom(1, 5));
        EXPECT_EQ(station().takeRecoveredLogs(), QStringList());
    }
}

// Each layout fills the fields its instrument gives: salinity and sound velocity computed from
// conductivity and temperature, or the probe's own sound velocity; the fixed pressure where there
// is no sensor. What is not given is sent and logged as nothing: a telegram that needs it sends
// nothing and says why, and its log fields stay empty. So it is for an instrument behind a link
// that comes up only after the start.
TEST_F(StationTest, EachLayoutFillsWhatItsInstrumentGives) {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Sondrel", "Sondrel");
    store.setValue("Record/Separator", "semicolon");
    store.setValue("Record/Prefix", "$CTD");
    store.setValue("Record/Temperature", "2");
    store.setValue("Record/Conductivity", "3 S/m");
    store.sync();
    const struct {
        const char* records;
        QByteArray lines;
        QByteArray appMicrosystems, svp20;
        const char* note;
        QByteArray logged;  // the fields after the date-time
        const char* doubt;
    } cases[] = {
        {"SV probe", "00.12\r\n 1500.125\r\n", " 1500.13 \r\n", "",
         "'SVP 20' needs a temperature; the instrument gives none", "\t\t1.50\t\t\t1500.13\r\n",
         ""},
        {"SV probe", "\n 0000.000\n", " 0.00 \r\n", "",
         "'SVP 20' needs a temperature; the instrument gives none", "\t\t1.50\t\t\t0.00\r\n",
         "Invalid reading: sound velocity outside 1350 to 1800 m/s"},
        {"Valeport miniSVP", "\r\n0012.34\t-01.174\t1450.255\r\n", " 1450.26 \r\n",
         "1450300001-00012990000\r\n", "", "\t\t12.34\t-1.174\t\t1450.26\r\n", ""},
        {"Valeport miniCTD", "\r\n0012.34\t15.000\t42.914\r\n", " 1506.86 \r\n",
         "150690000100150990000\r\n", "", "\t42.914\t12.34\t15.000\t34.9950\t1506.86\r\n", ""},
        {"SBE 45", "\r\n15.0000, 4.29140, 35.0001, 1400.000\r\n", " 1506.69 \r\n",
         "150670000000150990000\r\n", "", "\t42.914\t1.50\t15.000\t34.9994\t1506.69\r\n", ""},
        {"Custom", "\r\n#CTD;1;2;3\r\n$CTD;15.000;4.2914\r\n", " 1506.69 \r\n",
         "150670000000150990000\r\n", "", "\t42.914\t1.50\t15.000\t34.9994\t1506.69\r\n", ""},
    };
    for (const bool linkComing : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.records);
            SCOPED_TRACE(linkComing ? "link coming up" : "device");
            restart();
            options.asciiRecords = QString::fromLatin1(c.records);
            ASSERT_TRUE(station().recordProblems().isEmpty());
            ASSERT_TRUE(station().setFixedPressure("1.5"));
            if (linkComing) {
                port("Com_in").openErrors.push_back({SerialPort::kLinkDown, "connecting"});
            }
            ASSERT_TRUE(createLog() && startInput("Kestrane") && startOutput());
            if (linkComing) {
                emit timer("Com_in_reopen").tick();
                ASSERT_TRUE(port("Com_in").isOpen());
            }
            // Before the first reading the fields hold zeros no sea has: nothing is logged of them.
            emit timer("Timer2").tick();
            deliver(&port("Com_in"), c.lines);
            EXPECT_EQ(station().input().recordsRejected(), 0);
            EXPECT_EQ(station().readingTrust.note(nowMs), c.doubt);
            for (const char* format : {"App. Microsystems", "SVP 20"}) {
                station().chooseTelegram(*telegrams::formats().named(format));
                emit timer("Timer4").tick();
            }
            EXPECT_EQ(std::exchange(port("com_out").written, {}), c.appMicrosystems + c.svp20);
            EXPECT_EQ(station().output().note(), c.note);
            emit timer("Timer2").tick();
            station().end();
            const QList<QByteArray> lines = fileBytes(path).split('\n');
            ASSERT_EQ(lines.size(), 4) << fileBytes(path).toStdString();
            EXPECT_TRUE(lines[1].endsWith("\t\t\t\t\t\r")) << lines[1].toStdString();
            EXPECT_TRUE((lines[2] + '\n').endsWith(c.logged)) << lines[2].toStdString();
        }
    }

    store.setValue("Record/Conductivity", "3 furlongs");
    store.sync();
    restart();
    options.asciiRecords = "Custom";
    EXPECT_EQ(station().records().preset, &record_layouts::presets().standard);
    EXPECT_EQ(station().recordProblems().value(0),
              "Conductivity under [Record] (\"3 furlongs\") cannot be used: give a field number "
              "from 1 to 99 and mS/cm or S/m.");
    EXPECT_EQ(station().chooseRecords(*record_layouts::presets().named("Custom")),
              station().recordProblems());
    EXPECT_TRUE(station().chooseRecords(*record_layouts::presets().named("SV probe")).isEmpty());
    // Reconnecting or not, the next records give what the new layout gives.
    EXPECT_TRUE(station().given.soundVelocity && !station().given.conductivity);
    EXPECT_EQ(store::options().asciiRecords, "SV probe");
}

}  // namespace
