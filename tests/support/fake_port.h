#pragma once

#include <QStringList>
#include <deque>
#include <optional>
#include <utility>

#include "platform/serial_port.h"

// A port that only records what the window did to it, for tests of window logic that do not
// need bytes to flow (those use pseudo-terminals). Its next opens and writes can be told to fail,
// and its device can vanish.
class FakePort : public SerialPort {
public:
    explicit FakePort(QObject* parent, QStringList* journal)
        : SerialPort(parent), journal_(journal) {}

    PortResult setPortNumber(int number) override {
        number_ = number;
        return {};
    }
    int portNumber() const override { return number_; }
    PortResult setSettings(const QString& text) override {
        settings_ = text;
        return {};
    }
    QString settings() const override { return settings_; }
    QString device() const override { return QStringLiteral("COM%1").arg(number_); }
    bool isOpen() const override { return open_; }
    PortResult open() override {
        if (!openErrors.empty()) {
            const PortError error = openErrors.front();
            openErrors.pop_front();
            return error;
        }
        open_ = true;
        journal_->append(objectName() + " open");
        return {};
    }
    void close() override {
        open_ = false;
        journal_->append(objectName() + " close");
    }
    QByteArray readAll() override { return std::exchange(incoming, {}); }
    PortResult write(const QByteArray& bytes) override {
        if (writeError) {
            close();
            return *writeError;
        }
        written += bytes;
        return {};
    }
    qint64 bytesWaitingToSend() const override { return unsent; }
    void setReadBufferSize(qint64 bytes) override { readBufferSize = bytes; }
    void vanish() {
        close();
        emit failed(PortError{kDeviceFailure, QStringLiteral("device gone")});
    }

    QByteArray written;
    qint64 readBufferSize = 0;
    // Bytes the line has not sent yet.
    qint64 unsent = 0;
    // Bytes waiting to be read; readAll takes them all.
    QByteArray incoming;
    std::optional<PortError> writeError;
    std::deque<PortError> openErrors;

private:
    QStringList* journal_;
    int number_ = 1;
    QString settings_;
    bool open_ = false;
};
