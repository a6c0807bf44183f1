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
#include "tools/sondrel-calc/convert_stream.h"

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

struct Converted {
    const char* line;
    Columns columns;
    std::vector<std::string> inputs;  // as echoed
    std::optional<double> salinity;   // conductivity input only; nullopt: "-"
    std::optional<double> velocity;   // nullopt: "-"
};

// Names the test after its line, with the blanks that matter made visible.
void PrintTo(const Converted& c, std::ostream* os) {
    *os << (c.columns == Columns::Salinity ? "salinity " : "conductivity ") << '"';
    for (const char* p = c.line; *p != 0; ++p) {
        *os << (*p == '\t' ? "\\t" : *p == '\r' ? "\\r" : std::string(1, *p));
    }
    *os << '"';
}

class CalcLineConverted : public ::testing::TestWithParam<Converted> {};

TEST_P(CalcLineConverted, EchoesInputsAndComputes) {
    const Converted& c = GetParam();
    const auto outcome = convertLine(c.line, c.columns);
    ASSERT_EQ(outcome.kind, Kind::Converted) << outcome.text;
    const auto fields = splitTabs(outcome.text);
    const bool bySalinity = c.columns == Columns::Salinity;
    ASSERT_EQ(fields.size(), bySalinity ? 4u : 5u) << outcome.text;
    EXPECT_EQ(std::vector(fields.begin(), fields.begin() + 3), c.inputs);

    std::vector<std::optional<double>> computed = {c.velocity};
    if (!bySalinity) {
        computed.insert(computed.begin(), c.salinity);
    }
    for (std::size_t i = 0; i < computed.size(); ++i) {
        const std::string& field = fields[3 + i];
        if (!computed[i]) {
            EXPECT_EQ(field, "-");
            continue;
        }
        const auto value = readBack(field);
        ASSERT_TRUE(value.has_value()) << field;
        EXPECT_NEAR(*value, *computed[i], 5e-5) << "column " << 3 + i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CalcLineConverted,
    ::testing::Values(
        Converted{"42.914 15 0", Columns::Conductivity, {"42.914", "15", "0"}, 35.0, 1506.6633},
        Converted{
            "42.9140\t15\t10\r", Columns::Conductivity, {"42.914", "15", "10"}, 34.9959, 1506.8241},
        Converted{
            "  50 \t 20   1000  ", Columns::Conductivity, {"50", "20", "1000"}, 36.3576, 1539.6318},
        Converted{"81.025537174 40 1e4",
                  Columns::Conductivity,
                  {"81.025537174", "40", "10000"},
                  39.999996,
                  1731.9954},
        Converted{"0 0 0", Columns::Conductivity, {"0", "0", "0"}, -0.0019075, std::nullopt},
        Converted{
            "-10 15 0", Columns::Conductivity, {"-10", "15", "0"}, std::nullopt, std::nullopt},
        Converted{
            "1e200 15 0", Columns::Conductivity, {"1e+200", "15", "0"}, std::nullopt, std::nullopt},
        Converted{
            "nan 15 0", Columns::Conductivity, {"nan", "15", "0"}, std::nullopt, std::nullopt},
        Converted{"40 40 10000", Columns::Salinity, {"40", "40", "10000"}, {}, 1731.9954},
        Converted{"0 0 0", Columns::Salinity, {"0", "0", "0"}, {}, 1402.388},
        Converted{"-0.0019 0 0", Columns::Salinity, {"-0.0019", "0", "0"}, {}, std::nullopt},
        Converted{"35 1e200 0", Columns::Salinity, {"35", "1e+200", "0"}, {}, std::nullopt}));

// The output is for comparing against the window's full-precision fields, so every digit that
// tells two doubles apart must be written (a fixed 15-digit format would lose some).
TEST(CalcLine, ComputedColumnsReadBackToTheExactResult) {
    struct Row {
        const char* line;
        double conductivity, temperature, pressure;
    };
    for (const Row& row : {Row{"42.914 15 0", 42.914, 15, 0}, Row{"50 20 1000", 50, 20, 1000},
                           Row{"33.3 7.7 3", 33.3, 7.7, 3}, Row{"0.1 -2 0.7", 0.1, -2, 0.7}}) {
        const auto fields = splitTabs(convertLine(row.line, Columns::Conductivity).text);
        ASSERT_EQ(fields.size(), 5u) << row.line;
        const double bar = row.pressure / 10;
        const auto salinity =
            seawater::practicalSalinity(row.conductivity / 10, row.temperature, bar);
        ASSERT_TRUE(salinity.has_value());
        EXPECT_EQ(readBack(fields[3]), salinity) << row.line;
        EXPECT_EQ(readBack(fields[4]), seawater::soundVelocity(*salinity, row.temperature, bar))
            << row.line;
    }
}

TEST(CalcLine, SkipsBlankAndCommentLines) {
    for (const char* line :
         {"", "   \t ", "\r", "# conductivity temperature pressure", "  #indented 1 2 3"}) {
        EXPECT_EQ(convertLine(line, Columns::Conductivity).kind, Kind::Skipped)
            << '"' << line << '"';
    }
}

TEST(CalcLine, RefusesLinesThatAreNotThreeNumbers) {
    struct Row {
        const char* line;
        const char* reasonMentions;
    };
    for (const Row& row :
         {Row{"1 2", "found 2"}, Row{"1 2 3 4", "found 4"}, Row{"42,914 15 0", "'42,914'"},
          Row{"42.914 15 0dbar", "'0dbar'"}, Row{"1e400 15 0", "'1e400'"},
          Row{"0x10 15 0", "'0x10'"}, Row{"1 2 # note", "found 4"}}) {
        const auto outcome = convertLine(row.line, Columns::Conductivity);
        EXPECT_EQ(outcome.kind, Kind::Malformed) << row.line;
        EXPECT_NE(outcome.text.find(row.reasonMentions), std::string::npos) << outcome.text;
    }
}

TEST(ConvertStream, ReportsBadLinesByNumberAndGoesOn) {
    std::istringstream in("# header\n42.914 15 0\nfoo 1 2\n\n0 15 0\n1 2\n");
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_FALSE(sondrel_calc::convertStream(in, "cast.txt", Columns::Conductivity, out, errors));
    EXPECT_EQ(out.str(), convertLine("42.914 15 0", Columns::Conductivity).text + '\n' +
                             convertLine("0 15 0", Columns::Conductivity).text + '\n');
    EXPECT_EQ(errors.str(),
              "cast.txt:3: 'foo' is not a number\ncast.txt:6: expected 3 numbers, found 2 "
              "fields\n");
}

TEST(ConvertStream, SucceedsWhenEveryLineConverts) {
    std::istringstream in("35 15 0\n# done");
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_TRUE(sondrel_calc::convertStream(in, "-", Columns::Salinity, out, errors));
    EXPECT_EQ(errors.str(), "");
    EXPECT_EQ(splitTabs(out.str()).size(), 4u);
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

TEST(SondrelCalcProgram, ConvertsStandardInputAndReportsTheBadLine) {
    const Finished run = runCalc({}, "42.914 15 0\n1 2 x\n50\t20\t1000\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              QString::fromStdString(convertLine("42.914 15 0", Columns::Conductivity).text + '\n' +
                                     convertLine("50 20 1000", Columns::Conductivity).text + '\n'));
    EXPECT_EQ(run.err, "standard input:2: 'x' is not a number\n");
}

TEST(SondrelCalcProgram, GoesOnPastAnUnreadableFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath("good.txt");
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("35 15 0\n");
    file.close();

    const Finished run = runCalc({"--salinity", dir.filePath("missing.txt"), good});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              QString::fromStdString(convertLine("35 15 0", Columns::Salinity).text + '\n'));
    EXPECT_TRUE(run.err.contains("missing.txt")) << run.err.toStdString();
}

}  // namespace
