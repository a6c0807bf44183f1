#include "support/log_verdict.h"

#include "platform/number_text.h"

namespace test_support {

LogVerdict judgeLog(const QString& text, qint64 samples,
                    const std::function<QString(qint64 k)>& dateOf, const QLocale& locale) {
    LogVerdict verdict;
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.isEmpty() || !lines.takeFirst().startsWith(QStringLiteral("Date-Time\t"))) {
        verdict.faults.append(QStringLiteral("the file does not begin with the header"));
        return verdict;
    }
    if (lines.isEmpty() || !lines.takeLast().isEmpty()) {
        verdict.faults.append(QStringLiteral("the last line has no CR LF"));
    }
    verdict.lines = lines.size();
    if (verdict.lines != samples) {
        verdict.faults.append(
            QStringLiteral("%1 lines for %2 samples").arg(verdict.lines).arg(samples));
    }
    double pressure = 0;
    for (qint64 k = 1; k <= lines.size(); ++k) {
        const QStringList fields = lines[k - 1].split(u'\t');
        if (fields.size() != 6 || fields[0] != dateOf(k)) {
            verdict.faults.append(
                QStringLiteral("line %1 is not sample %1: \"%2\"").arg(k).arg(lines[k - 1]));
            break;
        }
        const auto shown = number_text::parse(fields[2], locale);
        if (!shown || *shown < pressure) {
            verdict.faults.append(
                QStringLiteral("line %1: pressure %2 after %3")
                    .arg(k)
                    .arg(fields[2], number_text::formatGeneral(pressure, locale)));
            break;
        }
        pressure = *shown;
    }
    return verdict;
}

}  // namespace test_support
