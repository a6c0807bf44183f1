#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "support/pty.h"

// sondrel-sim in one mode on its own pseudo-terminal, reached through a link whose name no
// other test process uses (QSerialPort's lock files are named after it). With a port number
// above 0 the settings store maps that number to the link while the simulator lives.
class Simulator {
public:
    Simulator(int portNumber, QStringList arguments)
        : link_(dir_.filePath(QStringLiteral("tty") + QFileInfo(dir_.path()).fileName())),
          portNumber_(portNumber) {
        if (portNumber_ > 0) {
            test_support::mapPort(portNumber_, link_);
        }
        process_.start(QStringLiteral(SONDREL_TOOLS_DIR "/sondrel-sim/sondrel-sim"),
                       arguments << "--link" << link_);
    }
    ~Simulator() {
        stop();
        if (portNumber_ > 0) {
            test_support::mapPort(portNumber_, QString());
        }
    }

    // Started, with its link in place.
    bool ready() {
        return process_.waitForStarted() &&
               QTest::qWaitFor([&] { return QFileInfo(link_).isSymLink(); }, 20000);
    }
    QString link() const { return link_; }
    // The lines printed after the device path, once more than `count` lines have come.
    QStringList lines(qsizetype count) {
        static_cast<void>(QTest::qWaitFor([&] {
            output_ += process_.readAllStandardOutput();
            return output_.count('\n') > count;
        }));
        return QString::fromLatin1(output_).split(u'\n', Qt::SkipEmptyParts).mid(1);
    }
    // What has been printed since the last call, for a caller that keeps no transcript of lines().
    QByteArray takeOutput() { return process_.readAllStandardOutput(); }
    // Asks the simulator to end; true when it ended normally with exit code 0.
    bool stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished();
        }
        return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    }

private:
    QTemporaryDir dir_;
    QString link_;
    int portNumber_;
    QProcess process_;
    QByteArray output_;
};
