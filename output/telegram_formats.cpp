#include "output/telegram_formats.h"

namespace telegrams {
namespace {

const TelegramFormat kFormats[] = {
    {"Generic", "op_generic", [](const Sounding& s) { return generic(s.soundvelocity); }, false,
     R"(\AS-?[0-9]{5}\r\n\z)"},
    {"SVP 20", "op_ssv",
     [](const Sounding& s) { return svp20(s.soundvelocity, s.pressure, *s.temperature); }, true,
     R"(\A[0-9]{10}-?[0-9]{5}990000\r\n\z)"},
    {"App. Microsystems", "op_micro",
     [](const Sounding& s) { return appMicrosystems(s.soundvelocity); }, false,
     R"(\A -?[0-9]+[.,][0-9]{2} \r\n\z)"},
};

}  // namespace

QString missingValue(const TelegramFormat& format, const Sounding& sounding) {
    if (format.needsTemperature && !sounding.temperature) {
        return QStringLiteral("'%1' needs a temperature; the instrument gives none")
            .arg(QLatin1String(format.name));
    }
    return {};
}

const NamedRows<TelegramFormat>& formats() {
    static const NamedRows<TelegramFormat> formats{kFormats, kFormats[2]};
    return formats;
}

}  // namespace telegrams
