#pragma once

#include <QString>
#include <QStringList>

#include "input/record_layouts.h"

// The record layout chosen for the ASCII instrument, as the settings store names it.
struct RecordChoice {
    const RecordPreset* preset = &record_layouts::presets().standard;
    RecordLayout layout = *record_layouts::presets().standard.layout;
};

struct ReadRecordChoice {
    RecordChoice choice;
    // One sentence for each value that cannot be used, naming its key and the value; the
    // Kestrane's layout stands in for the choice then.
    QStringList problems;
};

// The layout named `name`; "Custom" is read from section [Record].
ReadRecordChoice readRecordChoice(const QString& name);
