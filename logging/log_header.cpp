#include "logging/log_header.h"

QString logHeader() {
    return QStringLiteral(
        "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [\u00B0C]\tSalinity "
        "[psu]\tSound Velocity [m/s]");
}
