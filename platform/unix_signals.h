#pragma once

#include <QObject>

class QSocketNotifier;

// The requests to end that come to a Unix process from outside its window: SIGTERM (system
// shutdown, kill), SIGHUP (the terminal it was started from closed) and SIGINT (Ctrl+C there).
// Each is passed on as endRequested() on the thread that made this object, where it is safe to
// act on it. A second signal of the same kind ends the process at once, for a shutdown that
// hangs. Started under nohup, which ignores SIGHUP, it goes on running when the terminal closes.
// Windows has no such signals for a desktop program: its shutdown and log-off reach the program
// as the end of the desktop session.
class UnixSignals : public QObject {
    Q_OBJECT
public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

signals:
    void endRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};
