#include "support/simulator.h"

#include <QFileInfo>
#include <QTest>

namespace test_support {

Simulator::Simulator(const char* name, QStringList arguments)
    : link_(dir_.filePath(QLatin1String(name))) {
    process_.start(QStringLiteral(SONDREL_TOOLS_DIR "/sondrel-sim/sondrel-sim"),
                   arguments << "--link" << link_);
}

Simulator::~Simulator() {
    stop();
}

bool Simulator::ready() {
    return process_.waitForStarted() &&
           QTest::qWaitFor([&] { return QFileInfo(link_).isSymLink(); }, 20000);
}

QStringList Simulator::lines(qsizetype count) {
    static_cast<void>(QTest::qWaitFor([&] { return output().count('\n') > count; }));
    QStringList printed = QString::fromLatin1(output_).split(u'\n', Qt::SkipEmptyParts);
    printed.removeFirst();
    return printed;
}

const QByteArray& Simulator::output() {
    output_ += process_.readAllStandardOutput();
    return output_;
}

bool Simulator::stop() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        process_.waitForFinished();
    }
    output();
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

}  // namespace test_support
