#pragma once

#include <QObject>
#include <QStringList>

class Dialogs;
class QWidget;
class Station;

// What the window tells the user about the settings file: at the start, what in it could not be
// used; while it runs, once, that the port texts could not be kept.
class SettingsNotices : public QObject {
    Q_OBJECT
public:
    SettingsNotices(Station& station, Dialogs& dialogs, QWidget& window);

    // `more` are the problems found beyond the store's own.
    void reportProblems(const QStringList& more);

private:
    void rememberPortTexts(const char* key, const QString& value);

    Station& station_;
    Dialogs& dialogs_;
    bool saveFailureTold_ = false;
};
