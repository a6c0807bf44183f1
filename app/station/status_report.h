#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

struct ConnectionState;
class InputController;
class OutputController;
class LogController;
class Timer;

// "1 record", "12 records".
QString recordCount(qint64 count);

// Writes every change of a connection's status to standard error as one line that starts with
// the UTC time and names the connection: "2026-12-08T10:15:02.250Z input: Connected: ...". A
// service's journal or a terminal then tells what happened when, in the window as without one.
// Rejected records are told at once, then at most once a minute with the count since the line
// before: a noisy line would otherwise write a line for every record.
class StatusReport : public QObject {
    Q_OBJECT
public:
    static constexpr int kRejectedEveryMs = 60'000;

    explicit StatusReport(QObject* parent = nullptr);

    void watch(const InputController& input, const OutputController& output,
               const LogController& log);
    // One line, unless the connection's text is the one written last.
    void report(const QString& connection, const QString& text);

private:
    // The state's line, and what a listening link turned away the first time.
    void tell(const QString& connection, const ConnectionState& state);
    void rejected(qint64 total);
    void tellRejected();

    QHash<QString, QString> last_;
    QSet<QString> notesTold_;
    // Runs from each line of rejected records to the next: a minute without one has passed when
    // it is off.
    Timer* rejectedMinute_;
    qint64 rejectedTotal_ = 0;
    qint64 rejectedTold_ = 0;
    bool toldDiskWait_ = false;
};
