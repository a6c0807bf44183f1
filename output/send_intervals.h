#pragma once

#include <QString>
#include <optional>

// The send interval typed in the ms box and the lamp's half of it, each in whole milliseconds
// (ties to even).
struct SendIntervals {
    int send = 0;
    int lamp = 0;
};

// nullopt unless the text gives 0..65535 in the user's number format.
std::optional<SendIntervals> sendIntervals(const QString& typed);
// Why sendIntervals() gave none, for the status line.
QString sendIntervalRefused();
