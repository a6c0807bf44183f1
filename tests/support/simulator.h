#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include "support/pty.h"

// sondrel-sim in one mode on its own pseudo-terminal, reached through its link.
class Simulator {
public:
    Simulator(int portNumber, QStringList arguments) : link_(portNumber) {
        process_.start(QStringLiteral(SONDREL_TOOLS_DIR "/sondrel-sim/sondrel-sim"),
                       arguments << "--link" << link_.path);
    }
    ~Simulator() { stop(); }

    // Started, with its link in place.
    bool ready() {
        return process_.waitForStarted() &&
               QTest::qWaitFor([&] { return QFileInfo(link_.path).isSymLink(); }, 20000);
    }
    QString link() const { return link_.path; }
    // The whole lines printed since the last call, once `count` of them have come or after 5 s.
    QByteArray takeLines(qsizetype count = 0) {
        static_cast<void>(QTest::qWaitFor([&] {
            output_ += process_.readAllStandardOutput();
            return output_.count('\n') >= count;
        }));
        const QByteArray whole = output_.first(output_.lastIndexOf('\n') + 1);
        output_.remove(0, whole.size());
        return whole;
    }
    // Asks the simulator to end; true when it ended normally with exit code 0.
    bool stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished();
        }
        return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    }

private:
    test_support::DeviceLink link_;
    QProcess process_;
    QByteArray output_;
};
