#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>

// Numbers from the command line, always with "." as the decimal point like instrument data.
// On a bad value they say which option needs what on standard error and return false.
namespace option_values {

// The three values an instrument sends, and whether they swing around the given ones.
struct Reading {
    double conductivity = 0;
    double pressure = 0;
    double temperature = 0;
    bool drift = false;
};

extern const QCommandLineOption kDrift;

// The values of the three given options and of kDrift.
bool readReading(const QCommandLineParser& parser, const QCommandLineOption& conductivity,
                 const QCommandLineOption& pressure, const QCommandLineOption& temperature,
                 Reading& reading);

bool readNumber(const QCommandLineParser& parser, const QCommandLineOption& option, double& value);
bool readCount(const QCommandLineParser& parser, const QCommandLineOption& option, int min,
               int& value);

}  // namespace option_values
