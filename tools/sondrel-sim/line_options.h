#pragma once

#include <QCommandLineOption>

// The options of the simulated instruments that send text lines: what they measure, how often
// a line goes out and when they stop.
namespace line_options {

extern const QCommandLineOption kInterval;
extern const QCommandLineOption kConductivity;
extern const QCommandLineOption kPressure;
extern const QCommandLineOption kTemperature;
extern const QCommandLineOption kCount;

}  // namespace line_options
