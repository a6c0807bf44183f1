#pragma once

#include <QByteArray>

#include "mode.h"

// A Sea & Sun CTD: 3-byte binary data words for pressure, temperature and conductivity in turn,
// paced like its 1200-baud line.
Mode seaSunMode();

// One round of data words: pressure in the instrument's own calibration unit, temperature in
// degrees Celsius, conductivity in mS/cm; each value goes out as its nearest raw count.
QByteArray seaSunRound(double pressure, double temperature, double conductivity);
