#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class InputController;
class OutputController;
class LogController;

// Writes every change of a connection's status to standard error as one line that starts with
// the UTC time and names the connection: "2026-12-08T10:15:02.250Z input: Connected: ...". A
// service's journal or a terminal then tells what happened when, in the window as without one.
class StatusReport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void watch(const InputController& input, const OutputController& output,
               const LogController& log);
    // One line, unless the connection's text is the one written last.
    void report(const QString& connection, const QString& text);

private:
    QHash<QString, QString> last_;
};
