#include "app/settings_notices.h"

#include <QDebug>
#include <QDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "app/station/station.h"
#include "platform/dialogs.h"

namespace {

// A file of junk can hold thousands of unusable entries; the message stays on the screen.
constexpr qsizetype kProblemsShown = 8;

QString settingsFileTitle() {
    return QStringLiteral("Settings file");
}

}  // namespace

SettingsNotices::SettingsNotices(Station& station, Dialogs& dialogs, QWidget& window)
    : QObject(&window), station_(station), dialogs_(dialogs) {
    connect(&station_, &Station::portTextsChosen, this, &SettingsNotices::rememberPortTexts);
}

// Shown once the event loop runs, so that the message stands over the window instead of
// holding up its first showing; the window works the same either way.
void SettingsNotices::reportProblems(const QStringList& more) {
    const QStringList problems = settings_store::problems() + more;
    if (problems.isEmpty()) {
        return;
    }
    const QString file = QDir::toNativeSeparators(settings_store::location());
    for (const QString& problem : problems) {
        qWarning().noquote() << file << "-" << problem;
    }
    QStringList shown = problems.first(std::min(problems.size(), kProblemsShown));
    if (problems.size() > kProblemsShown) {
        shown << QStringLiteral("%1 more, written to standard error.")
                     .arg(problems.size() - kProblemsShown);
    }
    const QString text = QStringLiteral("The settings file\r\n%1\r\nhas problems:\r\n\r\n- %2")
                             .arg(file, shown.join(QStringLiteral("\r\n- ")));
    QTimer::singleShot(0, this, [this, text] { dialogs_.inform(settingsFileTitle(), text); });
}

// The connection goes ahead either way: only the next start misses the texts.
void SettingsNotices::rememberPortTexts(const char* key, const QString& value) {
    const settings_store::StoreResult saved = station_.rememberPortConfiguration(key, value);
    if (saved.ok() || saveFailureTold_) {
        return;
    }
    saveFailureTold_ = true;
    dialogs_.inform(
        settingsFileTitle(),
        QStringLiteral("The port texts could not be saved in the settings file\r\n%1\r\n(%2), so "
                       "the next start will not offer them. The connection is made all the "
                       "same.\r\n\r\nThis message is not shown again until the next start.")
            .arg(QDir::toNativeSeparators(settings_store::location()), saved.error()));
}
