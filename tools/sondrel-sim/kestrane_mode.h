#pragma once

#include <QByteArray>

#include "mode.h"

// A Kestrane CTD: one TAB-separated ASCII record per measurement, ended by CR LF.
Mode kestraneMode();

// One record without its line end: conductivity in mS/cm, pressure in dbar, temperature in
// degrees Celsius, e.g. "0035.008\tMS/CM\t-00.750\tDBAR\t15.500\tC".
QByteArray kestraneRecord(double conductivity, double pressure, double temperature);
