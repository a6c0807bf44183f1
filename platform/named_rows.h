#pragma once

#include <QString>
#include <QStringList>
#include <span>

// Lookups in a table whose rows each carry a `name`, as the settings file stores them.
namespace named_rows {

// nullptr for a name no row gives.
template <typename Row>
const Row* find(std::span<const Row> rows, const QString& name) {
    for (const Row& row : rows) {
        if (name == QLatin1String(row.name)) {
            return &row;
        }
    }
    return nullptr;
}

// "A, B or C", for a message naming what may be chosen.
template <typename Row>
QString choices(std::span<const Row> rows) {
    QStringList names;
    for (const Row& row : rows) {
        names << QLatin1String(row.name);
    }
    const QString last = names.takeLast();
    return names.isEmpty() ? last
                           : names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

}  // namespace named_rows
