#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// Pseudo-terminals standing in for serial devices: the program opens the slave side as it would
// a real adapter; the test holds the master side and plays the instrument or the receiver.
namespace test_support {

// Raw, so bytes pass unchanged. The test holds a slave descriptor too, so that the program
// closing and reopening the device loses nothing already written into it. Closing it gives the
// program's descriptor a hang-up.
class Pty {
public:
    Pty();  // closed when the machine has no free pseudo-terminal
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool isOpen() const { return master_ >= 0; }
    QString slavePath() const { return slavePath_; }  // what the program opens
    // Writes every byte, running the event loop while the program makes room; false after 10 s.
    bool write(QByteArrayView bytes);
    // What the program writes, collected while the event loop runs until `enough` holds for all
    // of it or 10 s have passed.
    QByteArray readUntil(const std::function<bool(const QByteArray&)>& enough);

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

// A device path whose last part no other test process uses: QSerialPort's lock file is named
// after it, in a directory that every process shares. With a port number above 0 the store maps
// that number to the path while this lives.
struct DeviceLink {
    explicit DeviceLink(int portNumber);
    ~DeviceLink();
    const QTemporaryDir dir;
    const QString path;
    const int portNumber;
};

// A device path, linked to the current pseudo-terminal, that can be unplugged and plugged in
// again like a USB adapter.
class PtyDevice {
public:
    explicit PtyDevice(int portNumber = 0) : link_(portNumber) { plugIn(); }
    ~PtyDevice() { unplug(); }

    bool isOpen() const { return pty_ && pty_->isOpen(); }
    QString path() const { return link_.path; }
    Pty& pty() { return *pty_; }  // while plugged in
    void unplug();  // the terminal closes and path() disappears, as for a missing device
    void plugIn();  // a new terminal behind the same path

private:
    DeviceLink link_;
    std::unique_ptr<Pty> pty_;
};

// Port number N opens `devicePath` (settings store section "Ports", key "COM<N>"); an empty
// path removes the mapping.
void mapPort(int number, const QString& devicePath);

}  // namespace test_support
