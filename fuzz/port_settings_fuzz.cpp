// A settings text as typed into a settings box, e.g. "19200,N,8,1".

#include <QList>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/check.h"
#include "platform/port_settings.h"

namespace {

QString canonical(const PortSettings& settings) {
    static constexpr char16_t kParity[] = u"NOEMS";
    static constexpr const char16_t* kStopBits[] = {u"1", u"1.5", u"2"};
    return QString::number(settings.baudRate) + u',' +
           QChar(kParity[static_cast<int>(settings.parity)]) + u',' +
           QString::number(settings.dataBits) + u',' +
           QString::fromUtf16(kStopBits[static_cast<int>(settings.stopBits)]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto settings = parsePortSettings(text);
    if (!settings) {
        return 0;
    }
    FUZZ_CHECK(settings->baudRate > 0);
    FUZZ_CHECK(settings->dataBits >= 5 && settings->dataBits <= 8);
    FUZZ_CHECK(text.count(u',') == 3);
    // Written back plainly, or with blanks around every piece, the text means the same.
    FUZZ_CHECK(parsePortSettings(canonical(*settings)) == settings);
    const QStringList pieces = canonical(*settings).split(u',');
    FUZZ_CHECK(parsePortSettings(u' ' + pieces.join(QStringLiteral("\t,  ")) + u'\t') == settings);
    return 0;
}
