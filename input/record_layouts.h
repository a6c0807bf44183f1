#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "input/record_layout.h"
#include "platform/named_rows.h"

// The ASCII record layouts the Kestrane option reads, one row each; "Custom" takes its layout from
// section [Record] of the settings file.
struct RecordPreset {
    // As the settings file stores it and the box shows it.
    const char* name;
    // nullopt: the layout that section [Record] gives.
    std::optional<RecordLayout> layout;
};

namespace record_layouts {

// The Kestrane's records are read until another layout is chosen.
const NamedRows<RecordPreset>& presets();

// The keys of section [Record].
inline constexpr char kSeparator[] = "Separator";          // tab, comma, semicolon or blanks
inline constexpr char kPrefix[] = "Prefix";                // text a record line begins with
inline constexpr char kConductivity[] = "Conductivity";    // field number and mS/cm or S/m
inline constexpr char kTemperature[] = "Temperature";      // field number
inline constexpr char kPressure[] = "Pressure";            // field number and dbar or bar
inline constexpr char kSoundVelocity[] = "SoundVelocity";  // field number

// A layout from the texts of section [Record], which `value` gives for each key (nullopt for a
// key that is absent); or, naming each key and value that cannot be used, none.
struct ReadLayout {
    std::optional<RecordLayout> layout;
    QStringList problems;
};
using SectionValue = std::function<std::optional<QString>(const char* key)>;
ReadLayout readSection(const SectionValue& value);

}  // namespace record_layouts
