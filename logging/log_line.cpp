#include "logging/log_line.h"

#include "platform/number_text.h"

namespace {

// Where a run of one unquoted letter (a field of a date or time format) lies in a format.
struct Field {
    qsizetype begin = -1;
    qsizetype end = -1;
};

Field findField(QStringView format, QChar letter, qsizetype from = 0) {
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted || i < from || format[i] != letter) {
            continue;
        }
        qsizetype end = i;
        while (end < format.size() && format[end] == letter) {
            ++end;
        }
        return {i, end};
    }
    return {};
}

// Some locales keep a two-digit year in their short date; the log always carries four.
QString withFourDigitYear(QString format) {
    for (Field year = findField(format, u'y'); year.begin >= 0;
         year = findField(format, u'y', year.begin + 4)) {
        format.replace(year.begin, year.end - year.begin, QStringLiteral("yyyy"));
    }
    return format;
}

// The time-zone name goes, with the brackets some locales put around it ("(t)", "[t]") and
// the blanks that separated it from the time.
QString withoutTimeZone(QString format) {
    for (Field zone = findField(format, u't'); zone.begin >= 0; zone = findField(format, u't')) {
        qsizetype begin = zone.begin;
        qsizetype end = zone.end;
        if (begin > 0 && end < format.size() &&
            ((format[begin - 1] == u'(' && format[end] == u')') ||
             (format[begin - 1] == u'[' && format[end] == u']'))) {
            --begin;
            ++end;
        }
        while (begin > 0 && format[begin - 1].isSpace()) {
            --begin;
        }
        format.remove(begin, end - begin);
    }
    return format.trimmed();
}

// A format string gives its digits in the C locale, whatever the desktop's number format.
QString utcDateTime(const QDateTime& when) {
    return when.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"));
}

}  // namespace

QString logDateTime(const QDateTime& when, const QLocale& locale) {
    const QString date =
        locale.toString(when.date(), withFourDigitYear(locale.dateFormat(QLocale::ShortFormat)));
    const QTime time = when.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0) {
        return date;
    }
    return date + u' ' +
           locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

QString logLine(const QDateTime& when, const LogValues& values, LogTime time,
                const QLocale& locale) {
    const auto field = [&locale](const std::optional<double>& value, double factor,
                                 QStringView pattern) {
        return QChar(u'\t') +
               (value ? number_text::formatPattern(*value * factor, pattern, locale) : QString());
    };
    const QString date = time == LogTime::Utc ? utcDateTime(when) : logDateTime(when, locale);
    return date + field(values.conductivity, 10, u"0.000") + field(values.pressure, 10, u"0.00") +
           field(values.temperature, 1, u"0.000") + field(values.salinity, 1, u"0.0000") +
           field(values.soundvelocity, 1, u"0.00") + QStringLiteral("\r\n");
}
