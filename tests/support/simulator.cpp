#include "support/simulator.h"

#include <QFileInfo>
#include <QTest>

#include "support/pty.h"

Simulator::Simulator(int portNumber, QStringList arguments)
    : link_(dir_.filePath(QStringLiteral("tty") + QFileInfo(dir_.path()).fileName())),
      portNumber_(portNumber) {
    if (portNumber_ > 0) {
        test_support::mapPort(portNumber_, link_);
    }
    process_.start(QStringLiteral(SONDREL_TOOLS_DIR "/sondrel-sim/sondrel-sim"),
                   arguments << "--link" << link_);
}

Simulator::~Simulator() {
    stop();
    if (portNumber_ > 0) {
        test_support::mapPort(portNumber_, QString());
    }
}

bool Simulator::ready() {
    return process_.waitForStarted() &&
           QTest::qWaitFor([&] { return QFileInfo(link_).isSymLink(); }, 20000);
}

QStringList Simulator::lines(qsizetype count) {
    static_cast<void>(QTest::qWaitFor([&] {
        output_ += process_.readAllStandardOutput();
        return output_.count('\n') > count;
    }));
    QStringList printed = QString::fromLatin1(output_).split(u'\n', Qt::SkipEmptyParts);
    if (!printed.isEmpty()) {
        printed.removeFirst();
    }
    return printed;
}

bool Simulator::stop() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        process_.waitForFinished();
    }
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}
