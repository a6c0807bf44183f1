#include "output/telegram_formats.h"

#include "platform/named_rows.h"

namespace telegrams {
namespace {

const TelegramFormat kFormats[] = {
    {"Generic", "op_generic", [](const Sounding& s) { return generic(s.soundvelocity); },
     R"(\AS-?[0-9]{5}\r\n\z)"},
    {"SVP 20", "op_ssv",
     [](const Sounding& s) { return svp20(s.soundvelocity, s.pressure, s.temperature); },
     R"(\A[0-9]{10}-?[0-9]{5}990000\r\n\z)"},
    {"App. Microsystems", "op_micro",
     [](const Sounding& s) { return appMicrosystems(s.soundvelocity); },
     R"(\A -?[0-9]+[.,][0-9]{2} \r\n\z)"},
};

}  // namespace

std::span<const TelegramFormat> formats() {
    return kFormats;
}

const TelegramFormat& standardFormat() {
    return kFormats[2];
}

const TelegramFormat* formatNamed(const QString& name) {
    return named_rows::find(formats(), name);
}

QString formatNames() {
    return named_rows::choices(formats());
}

}  // namespace telegrams
