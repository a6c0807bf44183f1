#include "app/station/record_choice.h"

#include "platform/settings_store.h"

ReadRecordChoice readRecordChoice(const QString& name) {
    ReadRecordChoice read;
    const NamedRows<RecordPreset>& presets = record_layouts::presets();
    const QString standard = QLatin1String(presets.standard.name);
    const RecordPreset* preset = presets.named(name);
    if (!preset) {
        read.problems << settings_store::optionFallback(settings_store::kAsciiRecords, name,
                                                        standard);
        return read;
    }
    if (preset->layout) {
        read.choice = {preset, *preset->layout};
        return read;
    }
    const record_layouts::ReadLayout custom =
        record_layouts::readSection(settings_store::recordValue);
    if (!custom.layout) {
        read.problems << custom.problems
                      << QStringLiteral("So the %1 records are read instead of the %2 ones.")
                             .arg(standard, QLatin1String(preset->name));
        return read;
    }
    read.choice = {preset, *custom.layout};
    return read;
}
