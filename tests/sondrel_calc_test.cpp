#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <charconv>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "seawater/salinity.h"
#include "seawater/sound_velocity.h"
#include "tools/sondrel-calc/calc_line.h"

namespace {

using sondrel_calc::Columns;
using sondrel_calc::convertLine;
using Kind = sondrel_calc::LineOutcome::Kind;

std::vector<std::string> splitTabs(const std::string& text) {
    std::vector<std::string> fields;
    std::istringstream in(text);
    for (std::string field; std::getline(in, field, '\t');) {
        fields.push_back(field);
    }
    return fields;
}

std::optional<double> readBack(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The inputs are echoed, then the computed columns follow, "-" where there is no value. Those
// are compared against the window's full-precision fields, so every digit that tells two doubles
// apart must be written: each reads back to exactly what the computation gives.
TEST(CalcLine, EchoesInputsAndComputesToTheLastDigit) {
    const std::optional<double> none;
    const struct {
        const char* line;
        Columns columns;
        std::vector<std::string> inputs;  // as echoed
        std::optional<double> salinity;   // conductivity input only
        std::optional<double> velocity;
    } cases[] = {
        {"42.914 15 0", Columns::Conductivity, {"42.914", "15", "0"}, 35.0, 1506.6633},
        {"42.9140\t15\t10\r", Columns::Conductivity, {"42.914", "15", "10"}, 34.9959, 1506.8241},
        {"  50 \t 20   1000  ", Columns::Conductivity, {"50", "20", "1000"}, 36.3576, 1539.6318},
        {"81.025537174 40 1e4",
         Columns::Conductivity,
         {"81.025537174", "40", "10000"},
         39.999996,
         1731.9954},
        {"0 0 0", Columns::Conductivity, {"0", "0", "0"}, -0.0019075, none},
        {"-10 15 0", Columns::Conductivity, {"-10", "15", "0"}, none, none},
        {"1e200 15 0", Columns::Conductivity, {"1e+200", "15", "0"}, none, none},
        {"nan 15 0", Columns::Conductivity, {"nan", "15", "0"}, none, none},
        {"40 40 10000", Columns::Salinity, {"40", "40", "10000"}, none, 1731.9954},
        {"-0.0019 0 0", Columns::Salinity, {"-0.0019", "0", "0"}, none, none},
        {"35 1e200 0", Columns::Salinity, {"35", "1e+200", "0"}, none, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto outcome = convertLine(c.line, c.columns);
        ASSERT_EQ(outcome.kind, Kind::Converted) << outcome.text;
        const auto fields = splitTabs(outcome.text);
        const bool bySalinity = c.columns == Columns::Salinity;
        ASSERT_EQ(fields.size(), bySalinity ? 4u : 5u) << outcome.text;
        EXPECT_EQ(std::vector(fields.begin(), fields.begin() + 3), c.inputs);

        const double first = *readBack(fields[0]);
        const double temperature = *readBack(fields[1]);
        const double bar = *readBack(fields[2]) / 10;
        std::optional<double> salinity = first;
        std::vector<std::pair<std::optional<double>, std::optional<double>>> computed;
        if (!bySalinity) {
            salinity = seawater::practicalSalinity(first / 10, temperature, bar);
            computed.emplace_back(c.salinity, salinity);
        }
        const auto velocity =
            salinity ? seawater::soundVelocity(*salinity, temperature, bar) : std::nullopt;
        computed.emplace_back(c.velocity, velocity);
        for (std::size_t i = 0; i < computed.size(); ++i) {
            const auto& [worked, exact] = computed[i];
            if (!worked) {
                EXPECT_EQ(fields[3 + i], "-");
                continue;
            }
            EXPECT_NEAR(readBack(fields[3 + i]).value_or(0), *worked, 5e-5) << "column " << 3 + i;
            EXPECT_EQ(readBack(fields[3 + i]), exact) << "column " << 3 + i;
        }
    }
}

TEST(CalcLine, SkipsBlankAndCommentLinesAndRefusesWhatIsNotThreeNumbers) {
    for (const char* line : {"", "   \t ", "\r", "# conductivity temperature pressure"}) {
        EXPECT_EQ(convertLine(line, Columns::Conductivity).kind, Kind::Skipped) << line;
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
        const auto outcome = convertLine(c.line, Columns::Conductivity);
        EXPECT_EQ(outcome.kind, Kind::Malformed) << c.line;
        EXPECT_NE(outcome.text.find(c.reasonMentions), std::string::npos) << outcome.text;
    }
}

std::string converted(std::initializer_list<const char*> lines, Columns columns) {
    std::string text;
    for (const char* line : lines) {
        text += convertLine(line, columns).text + '\n';
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

// Bad lines are reported by their number, counting blank and comment lines, and the rest go on.
TEST(SondrelCalcProgram, ConvertsStandardInputAndReportsTheBadLines) {
    const Finished run = runCalc({}, "# header\n42.914 15 0\n1 2 x\n\n50\t20\t1000\n1 2\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.toStdString(),
              converted({"42.914 15 0", "50 20 1000"}, Columns::Conductivity));
    EXPECT_EQ(run.err,
              "standard input:3: 'x' is not a number\n"
              "standard input:6: expected 3 numbers, found 2 fields\n");
    EXPECT_EQ(runCalc({"--salinity"}, "35 15 0\n# done").exitCode, 0);
}

TEST(SondrelCalcProgram, GoesOnPastAnUnreadableFile) {
    QTemporaryDir dir;
    QFile file(dir.filePath("good.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("35 15 0\n");
    file.close();
    const Finished run = runCalc({"--salinity", dir.filePath("missing.txt"), file.fileName()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.toStdString(), converted({"35 15 0"}, Columns::Salinity));
    EXPECT_TRUE(run.err.contains("missing.txt")) << run.err.toStdString();
}

}  // namespace
