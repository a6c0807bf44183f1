#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// sondrel-sim in one mode on its own pseudo-terminal, reached through a link whose name no
// other test process uses (QSerialPort's lock files are named after it). With a port number above 0
// the settings store maps that number to the link for as long as the simulator lives.
class Simulator {
public:
    Simulator(int portNumber, QStringList arguments);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Started, with its link in place.
    bool ready();
    QString link() const { return link_; }
    // The lines printed after the device path, once more than `count` lines have come.
    QStringList lines(qsizetype count);
    // Asks the simulator to end; true when it ended normally with exit code 0.
    bool stop();

private:
    QTemporaryDir dir_;
    QString link_;
    int portNumber_;
    QProcess process_;
    QByteArray output_;
};
