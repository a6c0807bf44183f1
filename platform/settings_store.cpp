#include "platform/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>
#include <cmath>

#include "platform/link_address.h"
#include "platform/number_text.h"
#include "platform/serial_port.h"

namespace settings_store {
namespace {

// Empty for the per-user store.
QString& chosenFile() {
    static QString path;
    return path;
}

// Returned as a prvalue: QSettings cannot be copied, but guaranteed elision needs no copy.
QSettings store() {
    if (!chosenFile().isEmpty()) {
        return QSettings(chosenFile(), QSettings::IniFormat);
    }
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Sondrel", "Sondrel");
}

QString configurationKey(const char* key) {
    return QStringLiteral("COM_Port/") + QLatin1String(key);
}

QString portKey(int number) {
    return QStringLiteral("Ports/COM%1").arg(number);
}

// The text of a stored value; nullopt for one that is no text at all. The file format reads a
// value written without quotes as a list when it holds commas.
std::optional<QString> textOf(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(u',');
    }
    if (!value.isValid() || !value.canConvert<QString>()) {
        return std::nullopt;
    }
    return value.toString();
}

// Control characters come from a quote left open, which swallows the lines after it; the
// replacement character from bytes that are not UTF-8. Neither belongs in a port text or a
// device path.
bool isReadable(const QString& text) {
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter;
    });
}

QString defaultDevice(int number) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

// The port number that a key of section "Ports" stands for; nullopt for any other name. The
// registry ignores the case of names, so there "com3" is the entry of port 3 too.
std::optional<int> numberOfPortKey(const QString& key) {
#ifdef Q_OS_WIN
    constexpr auto kCase = QRegularExpression::CaseInsensitiveOption;
#else
    constexpr auto kCase = QRegularExpression::NoPatternOption;
#endif
    static const QRegularExpression name(QStringLiteral("^COM([1-9][0-9]{0,4})$"), kCase);
    const QRegularExpressionMatch match = name.match(key);
    const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
    if (number < 1 || number > SerialPort::kHighestPortNumber) {
        return std::nullopt;
    }
    return number;
}

void checkPortConfiguration(const QSettings& settings, const char* key, QStringList& found) {
    const QString name = configurationKey(key);
    if (!settings.contains(name)) {
        return;
    }
    const std::optional<QString> text = textOf(settings.value(name));
    if (text && text->contains(u'\n')) {
        found << QStringLiteral(
                     "%1 under [COM_Port] opens a quote that is never closed; it is "
                     "ignored, with the lines after it that the quote takes in.")
                     .arg(key);
    } else if (!text || !isReadable(*text)) {
        found << QStringLiteral("%1 under [COM_Port] cannot be read and is ignored.").arg(key);
    }
}

void checkPortMapping(const QSettings& settings, const QString& key, QStringList& found) {
    const std::optional<int> number = numberOfPortKey(key);
    if (!number) {
        found << QStringLiteral(
                     "%1 under [Ports] is ignored: port entries are named COM1 to "
                     "COM%2.")
                     .arg(key)
                     .arg(SerialPort::kHighestPortNumber);
        return;
    }
    const std::optional<QString> text = textOf(settings.value(QStringLiteral("Ports/") + key));
    if (!text || text->isEmpty()) {
        found << QStringLiteral("%1 under [Ports] names no device, so port %2 opens %3.")
                     .arg(key)
                     .arg(*number)
                     .arg(defaultDevice(*number));
    } else if (!isReadable(*text)) {
        found << QStringLiteral(
                     "%1 under [Ports] holds characters that no device path has, so "
                     "port %2 cannot be opened.")
                     .arg(key)
                     .arg(*number);
    } else if (link_address::isLink(*text)) {
        const auto link = link_address::parse(*text);
        if (const auto* why = std::get_if<QString>(&link)) {
            found << cannotBeUsed("Ports", key.toLatin1().constData(), *text, *why);
        }
    }
}

// QSettings tells only that writing failed; the usual causes of a file can be told from its path.
QString whyNotWritten(const QString& path) {
#ifdef Q_OS_WIN
    if (chosenFile().isEmpty()) {
        return QStringLiteral("the registry refused to change the key");
    }
#endif
    const QFileInfo file(path);
    if (file.isDir()) {
        return QStringLiteral("a folder has its name");
    }
    // The nearest folder on the way up that exists, or something else in a folder's place.
    QString above = file.path();
    for (QString up = QFileInfo(above).path(); !QFileInfo::exists(above) && up != above;
         up = QFileInfo(above).path()) {
        above = up;
    }
    const QFileInfo folder(above);
    if (folder.exists() && !folder.isDir()) {
        return QStringLiteral("%1 is a file, not a folder").arg(QDir::toNativeSeparators(above));
    }
    return QStringLiteral("no permission to write it, or its disk is full or read-only");
}

QString optionKey(const char* key) {
    return QStringLiteral("Options/") + QLatin1String(key);
}

// The stored text of an option; nullopt when absent.
std::optional<QString> optionText(const QSettings& settings, const char* key) {
    const QString name = optionKey(key);
    if (!settings.contains(name)) {
        return std::nullopt;
    }
    return textOf(settings.value(name)).value_or(QStringLiteral("?"));
}

// Fills `options` from the store and says what fell back to its default.
QStringList readOptions(const QSettings& settings, Options& options) {
    QStringList found;
    const auto fellBack = [&found](const char* key, const QString& text, const QString& used) {
        found << optionFallback(key, text, used);
    };
    if (const auto text = optionText(settings, kStaleAfter)) {
        if (const std::optional<qint64> limit = staleLimitMs(*text)) {
            options.staleAfter = *text;
            options.staleAfterMs = *limit;
        } else {
            fellBack(kStaleAfter, *text, options.staleAfter);
        }
    }
    const std::pair<const char*, bool*> flags[] = {{kSendFreshOnly, &options.sendFreshOnly},
                                                   {kUdpSending, &options.udpSending},
                                                   {kLogTimeUtc, &options.logTimeUtc},
                                                   {kLogDaily, &options.logDaily},
                                                   {kResumeAtStart, &options.resumeAtStart}};
    for (const auto& [key, flag] : flags) {
        const auto text = optionText(settings, key);
        if (!text) {
            continue;
        }
        if (const std::optional<bool> value = readFlag(*text)) {
            *flag = *value;
        } else {
            fellBack(key, *text, flagText(*flag));
        }
    }
    if (const auto text = optionText(settings, kFixedPressure)) {
        if (const std::optional<double> dbar = fixedPressureDbar(*text)) {
            options.fixedPressure = *text;
            options.fixedPressureDbar = *dbar;
        } else {
            fellBack(kFixedPressure, *text, options.fixedPressure + QStringLiteral(" dbar"));
        }
    }
    if (const auto text = optionText(settings, kAsciiRecords); text && isReadable(*text)) {
        options.asciiRecords = *text;
    }
    if (const auto text = optionText(settings, kUdpTarget)) {
        if (isReadable(*text)) {
            options.udpTarget = *text;
        } else {
            fellBack(kUdpTarget, *text, QStringLiteral("no target"));
        }
    }
    return found;
}

// A null value removes the entry.
StoreResult writeValue(const QString& name, const QVariant& value) {
    QSettings settings = store();
    if (value.isValid()) {
        settings.setValue(name, value);
    } else {
        settings.remove(name);
    }
    settings.sync();
    // A format error found while merging with the file on disk still writes the file.
    if (settings.status() == QSettings::AccessError) {
        return whyNotWritten(settings.fileName());
    }
    return {};
}

}  // namespace

void useFile(const QString& path) {
    chosenFile() = path;
}

QString portConfiguration(const char* key) {
    const std::optional<QString> text = textOf(store().value(configurationKey(key)));
    return text && isReadable(*text) ? *text : QString();
}

StoreResult setPortConfiguration(const char* key, const QString& value) {
    return writeValue(configurationKey(key), value);
}

Options options() {
    Options options;
    readOptions(store(), options);
    return options;
}

StoreResult setOption(const char* key, const QString& value) {
    return writeValue(optionKey(key), value);
}

StoreResult setOption(const char* key, bool value) {
    return setOption(key, flagText(value));
}

std::optional<qint64> staleLimitMs(const QString& typed) {
    // About 30,000 years: any longer limit is the same as none, and the milliseconds stay in
    // range.
    constexpr double kLongestLimitMs = 1e15;
    const std::optional<double> seconds = number_text::parse(typed);
    if (!seconds || !(*seconds > 0)) {
        return std::nullopt;
    }
    return std::max<qint64>(1, std::llround(std::min(*seconds * 1000, kLongestLimitMs)));
}

std::optional<double> fixedPressureDbar(const QString& typed) {
    // The bounds of a plausible reading: a box that held more would make every reading doubtful.
    constexpr double kLowest = -20;
    constexpr double kDeepest = 12000;
    const std::optional<double> dbar = number_text::parse(typed);
    if (!dbar || !(*dbar >= kLowest && *dbar <= kDeepest)) {
        return std::nullopt;
    }
    return dbar;
}

QString optionFallback(const char* key, const QString& text, const QString& used) {
    return QStringLiteral("%1 under [Options] (\"%2\") cannot be used, so %3 is used.")
        .arg(QLatin1String(key), text, used);
}

std::optional<QString> recordValue(const char* key) {
    const QSettings settings = store();
    const QString name = QStringLiteral("Record/") + QLatin1String(key);
    if (!settings.contains(name)) {
        return std::nullopt;
    }
    return textOf(settings.value(name)).value_or(QStringLiteral("?"));
}

QString cannotBeUsed(const char* section, const char* key, const QString& value,
                     const QString& expected) {
    return QStringLiteral("%1 under [%2] (\"%3\") cannot be used: %4.")
        .arg(QLatin1String(key), QLatin1String(section), value, expected);
}

QString flagText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

std::optional<bool> readFlag(const QString& text) {
    if (text == QLatin1String("true")) {
        return true;
    }
    if (text == QLatin1String("false")) {
        return false;
    }
    return std::nullopt;
}

PortBoxes splitPortConfiguration(const QString& stored) {
    const QStringList pieces = stored.split(QLatin1Char(':'));
    PortBoxes boxes{pieces.at(0), std::nullopt};
    if (pieces.size() > 1) {
        boxes.settings = pieces.at(1);
    }
    return boxes;
}

QString deviceForPort(int number) {
    const QString mapped = textOf(store().value(portKey(number))).value_or(QString());
    if (mapped.isEmpty()) {
        return defaultDevice(number);
    }
#ifndef Q_OS_WIN
    if (QDir::isRelativePath(mapped) && !link_address::isLink(mapped)) {
        return QDir(QStringLiteral("/dev")).filePath(mapped);
    }
#endif
    return mapped;
}

QStringList problems() {
    QSettings settings = store();
    // The file is read on first use: its status is known only after that.
    const QStringList keys = settings.allKeys();
    QStringList found;
    switch (settings.status()) {
        case QSettings::AccessError:
            found << QStringLiteral(
                "It cannot be read, so the port boxes show their first-start "
                "texts and port numbers open their default devices.");
            break;
        case QSettings::FormatError:
            found << QStringLiteral(
                "Parts of it are not in the settings format; they are "
                "ignored, and dropped when a connection is next started.");
            break;
        case QSettings::NoError:
            break;
    }
    checkPortConfiguration(settings, kInputKey, found);
    checkPortConfiguration(settings, kOutputKey, found);
    Options ignored;
    found << readOptions(settings, ignored);
    for (const QString& key : keys) {
        if (key.startsWith(QLatin1String("Ports/"))) {
            checkPortMapping(settings, key.mid(6), found);
        }
    }
    return found;
}

QStringList recoveredLogs() {
    const QVariant value = store().value(QStringLiteral("Log/Recovered"));
    QStringList paths = value.typeId() == QMetaType::QStringList ? value.toStringList()
                                                                 : QStringList{value.toString()};
    paths.removeAll(QString());
    return paths;
}

StoreResult setRecoveredLogs(const QStringList& paths) {
    return writeValue(QStringLiteral("Log/Recovered"), paths.isEmpty() ? QVariant() : paths);
}

std::optional<QString> runValue(const char* key) {
    const QVariant value = store().value(QStringLiteral("Run/") + QLatin1String(key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    return textOf(value).value_or(QStringLiteral("?"));
}

StoreResult setRunValue(const char* key, const QString& value) {
    return writeValue(QStringLiteral("Run/") + QLatin1String(key), value);
}

QString location() {
    return store().fileName();
}

}  // namespace settings_store
