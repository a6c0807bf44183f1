#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>

// Numbers from the command line, always with "." as the decimal point like instrument data.
// On a bad value they say which option needs what on standard error and return false.
namespace option_values {

bool readNumber(const QCommandLineParser& parser, const QCommandLineOption& option, double& value);
bool readCount(const QCommandLineParser& parser, const QCommandLineOption& option, int min,
               int& value);

}  // namespace option_values
