#include "line_options.h"

namespace line_options {

const QCommandLineOption kInterval("interval", "Milliseconds between writes.", "ms", "1000");
const QCommandLineOption kConductivity("conductivity", "Conductivity in mS/cm.", "value", "35.008");
const QCommandLineOption kPressure("pressure", "Pressure in dbar.", "value", "-0.75");
const QCommandLineOption kTemperature("temperature", "Temperature in degrees Celsius.", "value",
                                      "15.5");
const QCommandLineOption kCount("count", "Stop after this many lines (0: run until stopped).", "n",
                                "0");

}  // namespace line_options
