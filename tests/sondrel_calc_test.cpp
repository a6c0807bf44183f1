#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <vector>

#include "platform/decimal_text.h"
#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"
#include "tools/sondrel-calc/calc_line.h"

namespace {

using sondrel_calc::Columns;
using Kind = sondrel_calc::LineKind;

std::pair<Kind, std::string> convertLine(std::string_view line, Columns columns) {
    std::string text;
    const Kind kind = sondrel_calc::convertLine(line, columns, text);
    return {kind, text};
}

// The inputs are echoed, then salinity (for conductivity input) and sound velocity, or "-"
// where there is no value. The output is compared against the window's full-precision fields, so
// every digit that tells two doubles apart must be written: each reads back to exactly what the
// computation gives.
TEST(CalcLine, EchoesInputsAndWritesEveryDigitOfTheResults) {
    constexpr Columns kC = Columns::Conductivity;
    const struct {
        const char* line;
        Columns columns;
        std::vector<std::string> inputs;  // as echoed
    } cases[] = {
        {"42.9140\t15\t10\r", kC, {"42.914", "15", "10"}},
        {"  50 \t 20   1000  ", kC, {"50", "20", "1000"}},
        {"81.025537174 40 1e4", kC, {"81.025537174", "40", "10000"}},
        {"0 0 0", kC, {"0", "0", "0"}},  // salinity below zero: no sound velocity
        {"1e200 15 0", kC, {"1e+200", "15", "0"}},
        {"nan 15 0", kC, {"nan", "15", "0"}},
        {"-0.0019 0 0", Columns::Salinity, {"-0.0019", "0", "0"}},
        {"100000000 0.0001 -0", Columns::Salinity, {"1e+08", "1e-04", "-0"}},
        {"123456789012345678 0.001 1500",
         Columns::Salinity,
         {"123456789012345680", "0.001", "1500"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto [kind, text] = convertLine(c.line, c.columns);
        ASSERT_EQ(kind, Kind::Converted) << text;
        std::vector<std::string> fields;
        for (const auto field : std::views::split(text, '\t')) {
            fields.emplace_back(field.begin(), field.end());
        }
        ASSERT_GE(fields.size(), 3u);
        EXPECT_EQ(std::vector(fields.begin(), fields.begin() + 3), c.inputs);

        const double temperature = *decimal_text::read(fields[1]);
        const double bar = *decimal_text::read(fields[2]) / 10;
        std::optional<double> salinity = decimal_text::read(fields[0]);
        std::vector<std::optional<double>> expected;
        if (c.columns == kC) {
            salinity = seawater::practicalSalinity(*salinity / 10, temperature, bar);
            expected.push_back(salinity);
        }
        expected.push_back(salinity ? seawater::soundVelocity(*salinity, temperature, bar)
                                    : std::nullopt);
        ASSERT_EQ(fields.size(), 3 + expected.size()) << text;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(decimal_text::read(fields[3 + i]), expected[i]) << fields[3 + i];
            EXPECT_EQ(fields[3 + i] == "-", !expected[i]) << fields[3 + i];
        }
    }
}

TEST(CalcLine, SkipsBlankAndCommentLinesAndRefusesWhatIsNotThreeNumbers) {
    for (const char* line : {"", "   \t ", "\r", "# conductivity temperature pressure"}) {
        EXPECT_EQ(convertLine(line, Columns::Conductivity).first, Kind::Skipped) << line;
    }
    const struct {
        const char* line;
        const char* reasonMentions;
    } malformed[] = {
        {"1 2", "found 2"},        {"1 2 3 4", "found 4"},    {"42,914 15 0", "'42,914'"},
        {"1 2 0dbar", "'0dbar'"},  {"1e400 15 0", "'1e400'"}, {"0x10 15 0", "'0x10'"},
        {"1 2 # note", "found 4"},
    };
    for (const auto& c : malformed) {
        const auto [kind, reason] = convertLine(c.line, Columns::Conductivity);
        EXPECT_EQ(kind, Kind::Malformed) << c.line;
        EXPECT_NE(reason.find(c.reasonMentions), std::string::npos) << reason;
    }
}

std::string converted(std::initializer_list<const char*> lines, Columns columns) {
    std::string text;
    for (const char* line : lines) {
        text += convertLine(line, columns).second + '\n';
    }
    return text;
}

struct Finished {
    QString out;
    QString err;
    int exitCode;
};

Finished runCalc(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(SONDREL_TOOLS_DIR "/sondrel-calc/sondrel-calc", arguments);
    EXPECT_TRUE(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()), process.exitCode()};
}

// Bad lines are reported by their number, counting blank and comment lines, and the rest go on;
// so do the files after one that cannot be read.
TEST(SondrelCalcProgram, ReportsBadLinesAndUnreadableFilesAndGoesOn) {
    QTemporaryDir dir;
    QFile file(dir.filePath("good.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("35 15 0\n") == 8);
    file.close();
    const QString missing = dir.filePath("missing.txt");
    // A comment longer than a read block, a CR LF line end and a last line without one.
    const QByteArray input = "# header\n42.914 15 0\n1 2 x\n\n50\t20\t1000\r\n1 2\n#" +
                             QByteArray(300000, 'x') + "\n35 15 0";
    const Finished run = runCalc({missing, file.fileName(), "-"}, input);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.toStdString(), converted({"35 15 0", "42.914 15 0", "50 20 1000", "35 15 0"},
                                               Columns::Conductivity));
    EXPECT_TRUE(run.err.startsWith("sondrel-calc: cannot open " + missing + ": ") &&
                run.err.endsWith("\nstandard input:3: 'x' is not a number\n"
                                 "standard input:6: expected 3 numbers, found 2 fields\n"))
        << run.err.toStdString();
    const Finished salinity = runCalc({"--salinity"}, "35 15 0\n# done");
    EXPECT_EQ(salinity.exitCode, 0);
    EXPECT_EQ(salinity.out.toStdString(), converted({"35 15 0"}, Columns::Salinity));
}

// Recorded instrument files are read record by record as the window reads them, then written in
// the calculator's units: the instrument's own digits come back, the values computed from the
// record's (not from the rounded echo) are those the window computes.
TEST(SondrelCalcProgram, ConvertsRecordedInstrumentFilesByTheirLayout) {
    QTemporaryDir dir;
    const QString custom = dir.filePath("custom.ini");
    const QString unusable = dir.filePath("unusable.ini");
    for (const auto& [path, text] :
         {std::pair{custom,
                    "[Record]\nSeparator=semicolon\nPrefix=$D\nTemperature=2\n"
                    "SoundVelocity=3\n"},
          std::pair{unusable, "[Record]\nSeparator=pipe\nTemperature=1\n"}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) > 0);
    }
    struct Water {
        double conductivity, temperature, bar;  // S/m, degrees Celsius
    };
    const struct {
        QStringList arguments;
        QByteArray input;
        std::string out;             // without the computed columns
        std::optional<Water> water;  // where salinity and sound velocity are computed
        const char* err;
        int exitCode;
    } cases[] = {
        {{"--records", "SV probe", "--pressure", "12.5"},
         " 1500.123\r\n\r\n 1499.9\r\n",
         "-\t-\t12.5\t-\t1500.123\n-\t-\t12.5\t-\t1499.9\n",
         {},
         "",
         0},
        {{"--records", "Valeport miniCTD"},
         "0012.345\t-01.500\t35.008\r\n",
         "35.008\t-1.5\t12.345",
         Water{35.008 / 10, -1.5, 12.345 / 10},
         "",
         0},
        {{"--records", "Valeport miniSVP"},
         "0012.345\t21.456\t1500.123\r\n",
         "-\t21.456\t12.345\t-\t1500.123\n",
         {},
         "",
         0},
        {{"--records", "SBE 45", "--pressure", "100"},
         "23.7658, 4.12345\n",
         "41.2345\t23.7658\t100",
         Water{4.12345, 23.7658, 10},
         "",
         0},
        {{"--records", "Kestrane"},
         "0035.008\tMS/CM\t-00.750\tDBAR\t15.500\tC\r\n",
         "35.008\t15.5\t-0.75",
         Water{35.008 / 10, 15.5, 0.75 / -10},
         "",
         0},
        {{"--records", "Custom", "--settings", custom},
         "$D;5;1500.5\nfoo\n",
         "-\t5\t0\t-\t1500.5\n",
         {},
         "",
         0},
        {{"--records", "Valeport miniCTD"},
         "0012.345\t21.456\t35\r\n0012.345\t21.456\r\n",
         "35\t21.456\t12.345",
         Water{3.5, 21.456, 12.345 / 10},
         "standard input:2: field 3 holds no conductivity\n",
         1},
        {{"--records", "Custom", "--settings", unusable},
         "",
         "",
         {},
         "sondrel-calc: Separator under [Record] (\"pipe\") cannot be used",
         2},
        {{"--records", "CTD"}, "", "", {}, "sondrel-calc: unknown record layout \"CTD\"", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const Finished run = runCalc(c.arguments, c.input);
        EXPECT_EQ(run.exitCode, c.exitCode);
        const std::string err = run.err.toStdString();
        EXPECT_TRUE(err.starts_with(c.err) && (*c.err || err.empty())) << err;
        if (!c.water) {
            EXPECT_EQ(run.out.toStdString(), c.out);
            continue;
        }
        const std::string out = run.out.toStdString();
        ASSERT_TRUE(out.starts_with(c.out + '\t') && out.ends_with('\n')) << out;
        const std::string computed = out.substr(c.out.size() + 1, out.size() - c.out.size() - 2);
        const std::optional<double> salinity =
            seawater::practicalSalinity(c.water->conductivity, c.water->temperature, c.water->bar);
        const std::optional<double> velocity =
            seawater::soundVelocity(*salinity, c.water->temperature, c.water->bar);
        EXPECT_EQ(decimal_text::read(computed.substr(0, computed.find('\t'))), salinity);
        EXPECT_EQ(decimal_text::read(computed.substr(computed.find('\t') + 1)), velocity);
    }
}

}  // namespace
