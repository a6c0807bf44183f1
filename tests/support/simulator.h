#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace test_support {

// sondrel-sim in one mode, on a pseudo-terminal linked at a path in a private directory; stopped
// when this goes.
class Simulator {
public:
    Simulator(const char* name, QStringList arguments);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Started, with its link in place.
    bool ready();
    QString link() const { return link_; }

    // The printed lines after the device path, once at least `count` have come.
    QStringList lines(qsizetype count);
    // Everything printed so far, the device path included.
    const QByteArray& output();
    // What has been printed since the last call, for a caller that keeps no transcript. Not
    // to be mixed with output() and lines(), which then miss it.
    QByteArray takeOutput() { return process_.readAllStandardOutput(); }

    // Asks it to stop and waits; true when it ended by itself with exit code 0.
    bool stop();

private:
    QTemporaryDir dir_;
    QString link_;
    QProcess process_;
    QByteArray output_;
};

}  // namespace test_support
