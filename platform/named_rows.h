#pragma once

#include <QString>
#include <QStringList>
#include <span>

// A table whose rows each carry a `name`, as the settings file stores them, with the row that
// holds until another is chosen.
template <typename Row>
struct NamedRows {
    std::span<const Row> rows;
    const Row& standard;

    // nullptr for a name no row gives.
    const Row* named(const QString& name) const {
        for (const Row& row : rows) {
            if (name == QLatin1String(row.name)) {
                return &row;
            }
        }
        return nullptr;
    }

    // "A, B or C", for a message naming what may be chosen.
    QString choices() const {
        QStringList names;
        for (const Row& row : rows) {
            names << QLatin1String(row.name);
        }
        const QString last = names.takeLast();
        return names.isEmpty() ? last
                               : names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
    }

    auto begin() const { return rows.begin(); }
    auto end() const { return rows.end(); }
};
