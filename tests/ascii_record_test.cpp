#include "input/ascii_record.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "input/record_layouts.h"

namespace {

const RecordLayout& preset(const char* name) {
    return *record_layouts::presets().named(QLatin1String(name))->layout;
}

// Fields are stored in order (pressure, conductivity, temperature, sound velocity) until the
// first bad one, each in the measurement fields' units. The instrument's numbers must not
// follow the user's locale, so a German desktop reads them too.
TEST(AsciiRecord, StoresInOrderUntilABadField) {
    using Separator = RecordLayout::Separator;
    const std::optional<double> no;
    const RecordLayout& kestrane = preset("Kestrane");
    const RecordLayout& svProbe = preset("SV probe");
    const RecordLayout& miniCtd = preset("Valeport miniCTD");
    const RecordLayout& miniSvp = preset("Valeport miniSVP");
    const RecordLayout& sbe45 = preset("SBE 45");
    const RecordLayout semicolons =
        RecordLayout::lines(Separator::Semicolon, {4, RecordLayout::kBar},
                            {3, RecordLayout::kSiemensPerMetre}, {2}, {}, "$CTD");
    const RecordLayout blanks =
        RecordLayout::lines(Separator::Blanks, {}, {2, RecordLayout::kMilliSiemensPerCm}, {1}, {3});
    const RecordLayout commaSv = RecordLayout::lines(Separator::Comma, {}, {}, {1}, {3});
    const struct {
        const RecordLayout& layout;
        QByteArray record;
        std::optional<double> pressure, conductivity, temperature, soundVelocity;
    } cases[] = {
        {kestrane, "0035.008\tMS/CM\t-00.750\tDBAR\t15.500\tC", -0.75 / 10, 35.008 / 10, 15.5, no},
        {kestrane, " 42.1 \t\t 100 \t\t -1.25 ", 10.0, 42.1 / 10, -1.25, no},
        {kestrane, "35\tMS/CM\t10\tDBAR\t15\tC\textra", 1.0, 3.5, 15.0, no},
        {kestrane, "ABC\tMS/CM\t-00.750\tDBAR\t15.500\tC", -0.75 / 10, no, no, no},
        {kestrane, "0035.008\tMS/CM\tdeep\tDBAR\t15.500\tC", no, no, no, no},
        {kestrane, "35\tMS/CM\t10\tDBAR\t\tC", 1.0, 3.5, no, no},
        {kestrane, "35\tMS/CM\t10\tDBAR", 1.0, 3.5, no, no},
        {kestrane, "", no, no, no, no},
        {kestrane, "35,008\tMS/CM\t10\tDBAR\t15\tC", 1.0, no, no, no},
        {kestrane, "35\tMS/CM\t10\tDBAR\tinf\tC", 1.0, 3.5, no, no},
        {kestrane, "+35\tMS/CM\t\xA0+1e1\x85\tDBAR\t\v1.5E1\r\tC", 1.0, 3.5, 15.0, no},
        {kestrane, "35\tMS/CM\t10\tDBAR\t+-15\tC", 1.0, 3.5, no, no},
        {kestrane, "35\tMS/CM\t1e-400\tDBAR\t15\tC", no, no, no, no},
        {kestrane, "35\tMS/CM\t1 0\tDBAR\t15\tC", no, no, no, no},
        // A probe's own sound velocity, with three decimals or two, whatever follows it.
        {svProbe, " 1500.123", no, no, no, 1500.123},
        {svProbe, "1500.12 \t 10.5 21.3", no, no, no, 1500.12},
        {svProbe, "   ", no, no, no, no},
        {svProbe, "SV=1500.1", no, no, no, no},
        {miniCtd, "0123.4\t21.456\t42.914", 123.4 / 10, 42.914 / 10, 21.456, no},
        {miniCtd, "012.34\t-01.174\t42.914\t", 12.34 / 10, 42.914 / 10, -1.174, no},
        {miniCtd, "012.34\t-01.174", 12.34 / 10, no, no, no},
        {miniSvp, "12.345\t02.769\t1500.250", 12.345 / 10, no, 2.769, 1500.25},
        // In air the sound-velocity sensor reads zero: a number, judged as implausible later.
        {miniSvp, "00.000\t21.456\t0000.000", 0.0, no, 21.456, 0.0},
        {sbe45, "23.7658, 0.00019", no, 0.00019, 23.7658, no},
        {sbe45, "23.7658,4.12345, 34.5678, 1501.234", no, 4.12345, 23.7658, no},
        {sbe45, "23.7658; 4.1", no, no, no, no},
        // A prefix is field 1; bar are held as they come.
        {semicolons, "$CTD;15.000;4.2914;10.5", 10.5, 4.2914, 15.0, no},
        {semicolons, "$CTD;15.000;4.2914", no, no, no, no},
        {blanks, "\t 15.0  42.914\t\t1520.5", no, 42.914 / 10, 15.0, no},
        {commaSv, " 10.5 ,  , 1490.5 ", no, no, 10.5, 1490.5},
        {commaSv, "10.5,,", no, no, 10.5, no},
    };
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record.toStdString());
        const AsciiReading reading = readAsciiRecord(c.layout, c.record);
        EXPECT_EQ(reading.pressure, c.pressure);
        EXPECT_EQ(reading.conductivity, c.conductivity);
        EXPECT_EQ(reading.temperature, c.temperature);
        EXPECT_EQ(reading.soundVelocity, c.soundVelocity);
        const Quantities gives = c.layout.gives();
        const bool whole =
            (!gives.pressure || c.pressure) && (!gives.conductivity || c.conductivity) &&
            (!gives.temperature || c.temperature) && (!gives.soundVelocity || c.soundVelocity);
        EXPECT_EQ(reading.complete, whole);
    }
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(isRecordLine(semicolons, "$CTD;1"));
    EXPECT_FALSE(isRecordLine(semicolons, "#CTD;1"));
    EXPECT_TRUE(isRecordLine(blanks, "anything"));
}

// A section [Record] as a user writes it: what it reads, or each key and value it cannot use.
TEST(AsciiRecord, CustomLayoutFromItsSection) {
    const struct {
        std::map<std::string, QString> section;
        QStringList problems;
        RecordField pressure{}, conductivity{}, temperature{}, soundVelocity{};
    } cases[] = {
        {{{"Separator", "comma"}, {"Conductivity", "2 S/m"}, {"Temperature", "1"}},
         {},
         {},
         {2, RecordLayout::kSiemensPerMetre},
         {1},
         {}},
        {{{"Conductivity", " 3  ms/cm "},
          {"Temperature", "2"},
          {"Pressure", "1 bar"},
          {"SoundVelocity", "4"}},
         {},
         {1, RecordLayout::kBar},
         {3, RecordLayout::kMilliSiemensPerCm},
         {2},
         {4}},
        {{{"Separator", "blanks"}, {"SoundVelocity", "1"}, {"Pressure", "2 dbar"}},
         {},
         {2, RecordLayout::kDecibar},
         {},
         {},
         {1}},
        {{{"Separator", "pipe"}, {"SoundVelocity", "1"}},
         {"Separator under [Record] (\"pipe\") cannot be used: tab, comma, semicolon or "
          "blanks."}},
        {{{"Conductivity", "2"}, {"Temperature", "0"}, {"Pressure", "3 psi"}},
         {"Conductivity under [Record] (\"2\") cannot be used: give a field number from 1 to 99 "
          "and mS/cm or S/m.",
          "Temperature under [Record] (\"0\") cannot be used: give a field number from 1 to 99.",
          "Pressure under [Record] (\"3 psi\") cannot be used: give a field number from 1 to 99 "
          "and dbar or bar."}},
        {{{"Temperature", "2"}, {"SoundVelocity", "2"}},
         {"SoundVelocity under [Record] (\"2\") cannot be used: another quantity is read from "
          "that field."}},
        {{{"Temperature", "1"}, {"Pressure", "2 dbar"}},
         {"[Record] gives neither a conductivity and a temperature nor a sound velocity."}},
        {{}, {"[Record] gives neither a conductivity and a temperature nor a sound velocity."}},
    };
    for (const auto& c : cases) {
        const record_layouts::ReadLayout read =
            record_layouts::readSection([&c](const char* key) -> std::optional<QString> {
                const auto found = c.section.find(key);
                return found == c.section.end() ? std::nullopt : std::optional(found->second);
            });
        EXPECT_EQ(read.problems, c.problems);
        ASSERT_EQ(read.layout.has_value(), c.problems.isEmpty());
        if (read.layout) {
            for (const auto& [got, expected] : {std::pair{read.layout->pressure, c.pressure},
                                                {read.layout->conductivity, c.conductivity},
                                                {read.layout->temperature, c.temperature},
                                                {read.layout->soundVelocity, c.soundVelocity}}) {
                EXPECT_EQ(got.number, expected.number);
                EXPECT_EQ(got.divisor, expected.divisor);
            }
        }
    }
}

}  // namespace
