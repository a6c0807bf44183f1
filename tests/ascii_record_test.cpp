#include "input/ascii_record.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

struct RecordCase {
    const char* name;
    QByteArray record;
    std::optional<double> pressure;
    std::optional<double> conductivity;
    std::optional<double> temperature;
};

class Records : public ::testing::TestWithParam<RecordCase> {
protected:
    // The instrument's numbers must not follow the user's locale.
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

void expectValue(const std::optional<double>& actual, const std::optional<double>& expected,
                 const char* what) {
    ASSERT_EQ(actual.has_value(), expected.has_value()) << what;
    if (expected) {
        EXPECT_DOUBLE_EQ(*actual, *expected) << what;
    }
}

TEST_P(Records, StoreInOrderUntilABadField) {
    const RecordCase& c = GetParam();
    const AsciiReading reading = readAsciiRecord(c.record);
    expectValue(reading.pressure, c.pressure, "pressure");
    expectValue(reading.conductivity, c.conductivity, "conductivity");
    expectValue(reading.temperature, c.temperature, "temperature");
    EXPECT_EQ(reading.complete(), c.temperature.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    AsciiRecord, Records,
    ::testing::Values(
        RecordCase{"Example", "0035.008\tMS/CM\t-00.750\tDBAR\t15.500\tC", -0.075, 3.5008, 15.5},
        RecordCase{"BlanksAndNoUnits", " 42.1 \t\t 100 \t\t -1.25 ", 10.0, 4.21, -1.25},
        RecordCase{"SevenFields", "35\tMS/CM\t10\tDBAR\t15\tC\textra", 1.0, 3.5, 15.0},
        RecordCase{"EndsAfterFieldFour", "35\tMS/CM\t10\tDBAR\t15", 1.0, 3.5, 15.0},
        RecordCase{"LettersInConductivity", "ABC\tMS/CM\t-00.750\tDBAR\t15.500\tC", -0.075,
                   std::nullopt, std::nullopt},
        RecordCase{"LettersInPressure", "0035.008\tMS/CM\tdeep\tDBAR\t15.500\tC", std::nullopt,
                   std::nullopt, std::nullopt},
        RecordCase{"EmptyTemperature", "35\tMS/CM\t10\tDBAR\t\tC", 1.0, 3.5, std::nullopt},
        RecordCase{"FourFields", "35\tMS/CM\t10\tDBAR", 1.0, 3.5, std::nullopt},
        RecordCase{"TwoFields", "35\tMS/CM", std::nullopt, std::nullopt, std::nullopt},
        RecordCase{"EmptyRecord", "", std::nullopt, std::nullopt, std::nullopt},
        RecordCase{"DecimalComma", "35,008\tMS/CM\t10\tDBAR\t15\tC", 1.0, std::nullopt,
                   std::nullopt},
        RecordCase{"NotFinite", "35\tMS/CM\t10\tDBAR\tinf\tC", 1.0, 3.5, std::nullopt}),
    [](const auto& info) { return info.param.name; });

}  // namespace
