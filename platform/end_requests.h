#pragma once

#include <QObject>

// The requests to end that come to the program from outside its window, passed on as
// endRequested() on the thread that made this object, where it is safe to act on them. Once a
// request has been passed on, a second one of the same kind ends the process at once, for an
// ending that hangs.
// - Linux: SIGTERM (system shutdown, kill), SIGHUP (the terminal it was started from closed) and
//   SIGINT (Ctrl+C there). Started under nohup, which ignores SIGHUP, it goes on running when
//   the terminal closes.
// - Windows: Ctrl+C, Ctrl+Break and the closing of the console it writes to, and the end of the
//   desktop session. Windows ends the process as soon as it has told it of a closing console or
//   of the session's end, so the program is held until the receivers have done their work.
// One object at a time.
class EndRequests : public QObject {
    Q_OBJECT
public:
    explicit EndRequests(QObject* parent = nullptr);
    ~EndRequests() override;

    // Called first on a thread of the program's own: the requests go to the other threads, so
    // that one caught in a file call that hangs never holds them up.
    static void leaveToOtherThreads();

signals:
    void endRequested();
};
