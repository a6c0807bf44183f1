#include "input/record_layouts.h"

#include <algorithm>
#include <array>
#include <span>
#include <tuple>

#include "platform/number_text.h"
#include "platform/settings_store.h"

namespace record_layouts {
namespace {

using Field = RecordField;
using Layout = RecordLayout;

Layout kestrane() {
    Layout layout;
    layout.framing = Layout::Framing::BetweenCrLfPairs;
    layout.conductivity = {1, Layout::kMilliSiemensPerCm};
    layout.pressure = {3, Layout::kDecibar};
    layout.temperature = {5};
    return layout;
}

const RecordPreset kPresets[] = {
    {"Kestrane", kestrane()},
    {"SV probe", Layout::lines(Layout::Separator::Blanks, {}, {}, {}, {1})},
    {"Valeport miniCTD", Layout::lines(Layout::Separator::Tab, {1, Layout::kDecibar},
                                       {3, Layout::kMilliSiemensPerCm}, {2}, {})},
    {"Valeport miniSVP",
     Layout::lines(Layout::Separator::Tab, {1, Layout::kDecibar}, {}, {2}, {3})},
    {"SBE 45", Layout::lines(Layout::Separator::Comma, {}, {2, Layout::kSiemensPerMetre}, {1}, {})},
    {"Custom", std::nullopt},
};

struct Unit {
    const char* name;
    double divisor;
};

constexpr std::array kConductivityUnits{Unit{"mS/cm", Layout::kMilliSiemensPerCm},
                                        Unit{"S/m", Layout::kSiemensPerMetre}};
constexpr std::array kPressureUnits{Unit{"dbar", Layout::kDecibar}, Unit{"bar", Layout::kBar}};

const std::pair<const char*, Layout::Separator> kSeparators[] = {
    {"tab", Layout::Separator::Tab},
    {"comma", Layout::Separator::Comma},
    {"semicolon", Layout::Separator::Semicolon},
    {"blanks", Layout::Separator::Blanks}};

QString fieldsExpected(std::span<const Unit> units) {
    QString expected =
        QStringLiteral("give a field number from 1 to %1").arg(RecordLayout::kLastField);
    if (!units.empty()) {
        expected += QStringLiteral(" and %1 or %2")
                        .arg(QLatin1String(units[0].name), QLatin1String(units[1].name));
    }
    return expected;
}

// "3" or, where a unit is asked for, "3 dbar"; nullopt unless it is one of these.
std::optional<Field> readField(const QString& text, std::span<const Unit> units) {
    const QStringList words = text.simplified().split(u' ');
    if (words.size() != (units.empty() ? 1 : 2)) {
        return std::nullopt;
    }
    const std::optional<int> number = number_text::parseDigits(words[0]);
    if (!number || *number < 1 || *number > RecordLayout::kLastField) {
        return std::nullopt;
    }
    if (units.empty()) {
        return Field{*number};
    }
    for (const Unit& unit : units) {
        if (words[1].compare(QLatin1String(unit.name), Qt::CaseInsensitive) == 0) {
            return Field{*number, unit.divisor};
        }
    }
    return std::nullopt;
}

}  // namespace

const NamedRows<RecordPreset>& presets() {
    static const NamedRows<RecordPreset> presets{kPresets, kPresets[0]};
    return presets;
}

ReadLayout readSection(const SectionValue& value) {
    ReadLayout read;
    Layout layout;
    const auto refuse = [&read](const char* key, const QString& text, const QString& expected) {
        read.problems << settings_store::cannotBeUsed("Record", key, text, expected);
    };
    if (const std::optional<QString> text = value(kSeparator)) {
        const auto* named = std::find_if(std::begin(kSeparators), std::end(kSeparators),
                                         [&](const auto& row) { return *text == row.first; });
        if (named == std::end(kSeparators)) {
            refuse(kSeparator, *text, QStringLiteral("tab, comma, semicolon or blanks"));
        } else {
            layout.separator = named->second;
        }
    }
    if (const std::optional<QString> text = value(kPrefix)) {
        layout.prefix = text->toUtf8();
    }
    const std::tuple<const char*, Field Layout::*, std::span<const Unit>> fields[] = {
        {kConductivity, &Layout::conductivity, kConductivityUnits},
        {kTemperature, &Layout::temperature, {}},
        {kPressure, &Layout::pressure, kPressureUnits},
        {kSoundVelocity, &Layout::soundVelocity, {}}};
    QList<int> taken;
    for (const auto& [key, member, units] : fields) {
        const std::optional<QString> text = value(key);
        if (!text) {
            continue;
        }
        const std::optional<Field> field = readField(*text, units);
        if (!field) {
            refuse(key, *text, fieldsExpected(units));
        } else if (taken.contains(field->number)) {
            refuse(key, *text, QStringLiteral("another quantity is read from that field"));
        } else {
            taken << field->number;
            layout.*member = *field;
        }
    }
    const Quantities gives = layout.gives();
    if (read.problems.isEmpty() && !gives.salinity() && !gives.soundVelocity) {
        read.problems << QStringLiteral(
            "[Record] gives neither a conductivity and a temperature nor a sound velocity.");
    }
    if (read.problems.isEmpty()) {
        read.layout = layout;
    }
    return read;
}

}  // namespace record_layouts
