#include <QDebug>
#include <QDir>
#include <QTimer>
#include <algorithm>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "platform/settings_store.h"

namespace {

// A file of junk can hold thousands of unusable entries; the message stays on the screen.
constexpr qsizetype kProblemsShown = 8;

QString settingsFileTitle() {
    return QStringLiteral("Settings file");
}

void warnIfNotSaved(const settings_store::StoreResult& result) {
    if (!result.ok()) {
        qWarning().noquote() << QDir::toNativeSeparators(settings_store::location()) << "-"
                             << result.error();
    }
}

}  // namespace

// Shown once the event loop runs, so that the message stands over the window instead of
// holding up its first showing; the window works the same either way.
void frm_main::reportSettingsProblems(const QStringList& more) {
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
    QTimer::singleShot(0, this,
                       [this, text] { services_.dialogs->inform(settingsFileTitle(), text); });
}

// The connection goes ahead either way: only the next start misses the texts.
void frm_main::rememberPortConfiguration(const char* key, const QString& value) {
    const settings_store::StoreResult saved = settings_store::setPortConfiguration(key, value);
    warnIfNotSaved(saved);
    if (saved.ok()) {
        return;
    }
    if (settingsSaveFailureTold_) {
        return;
    }
    settingsSaveFailureTold_ = true;
    services_.dialogs->inform(
        settingsFileTitle(),
        QStringLiteral("The port texts could not be saved in the settings file\r\n%1\r\n(%2), so "
                       "the next start will not offer them. The connection is made all the "
                       "same.\r\n\r\nThis message is not shown again until the next start.")
            .arg(QDir::toNativeSeparators(settings_store::location()), saved.error()));
}

std::function<void(const QString&)> frm_main::remembering(const char* key) {
    return [this, key](const QString& value) { rememberPortConfiguration(key, value); };
}

void frm_main::rememberRun(const char* key, const QString& value) {
    if (ui->ck_resume->isChecked()) {
        warnIfNotSaved(settings_store::setRunValue(key, value));
    }
}

void frm_main::rememberOption(const char* key, const QString& value) {
    warnIfNotSaved(settings_store::setOption(key, value));
}

void frm_main::rememberOption(const char* key, bool value) {
    warnIfNotSaved(settings_store::setOption(key, value));
}
