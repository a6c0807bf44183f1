#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

#include "input/ascii_framer.h"
#include "input/bit_table.h"
#include "input/instrument_reading.h"
#include "input/instruments.h"
#include "input/record_layout.h"
#include "platform/connection_state.h"
#include "platform/port_connection.h"

class Timer;

// The instrument input: the Kestrane's port Com_in with its record framing, the Sea & Sun's port
// Com_SST polled by timer_sst, and the quiet reopening of a device that went away. It hands each
// reading to whoever keeps the measurement fields, and tells every change of its state.
class InputController : public QObject {
    Q_OBJECT
public:
    // An instrument sends at least once a second; a network link silent this long has lost its
    // far end.
    static constexpr int kLinkSilenceMs = 30'000;

    InputController(const PortFactory& makePort, QObject* parent);

    // Connects the chosen instrument on the port and settings typed; a connection started
    // replaces any reopening of either instrument.
    PortResult start(const Instrument& instrument, const QString& portText,
                     const QString& settingsText, WhenAbsent absent = WhenAbsent::Tell);
    // How Com_in's records are cut and read from now on; what was half-received is dropped.
    void setRecordLayout(const RecordLayout& layout);
    // Stops polling and reopening and closes both ports, as the program ends.
    void close();
    // The instrument started last, while its port is open; nullptr otherwise.
    const Instrument* connected() const;

    const ConnectionState& state() const { return state_; }
    // Records rejected since the input was started.
    qint64 recordsRejected() const { return recordsRejected_; }

signals:
    // The port texts about to be opened, "port:settings", to be remembered.
    void portTextsChosen(const QString& value);
    void stateChanged(const ConnectionState& state);
    void recordsRejectedChanged(qint64 count);
    // What the Kestrane sent, as it came; what one poll found from the Sea & Sun.
    void received(const QByteArray& bytes);
    void polled(const QByteArray& block);
    void reading(const InstrumentReading& reading);
    // Once a second, so that whoever shows how long the instrument has been silent counts up.
    void secondPassed();

private:
    PortResult connect(PortReopener& reopener, const QString& portText, const QString& settingsText,
                       WhenAbsent absent);
    SerialPort* portOf(const Instrument& instrument) const;
    PortReopener* reopenerOf(const Instrument& instrument) const;
    void explainHeldByOther(const Instrument& instrument);
    void setState(const ConnectionState& state);
    void readAscii();
    bool takeRecord(QByteArrayView record);
    void recoverAscii();
    // What was half-received is dropped; a link whose bytes begin at a record reads its next
    // byte as the start of one.
    void restartFraming();
    void pollSeaSun();
    void asciiLost(const PortError& error);
    void seaSunLost(const PortError& error);

    SerialPort* Com_in;
    SerialPort* Com_SST;
    Timer* timer_sst;
    Timer* reading_age;
    PortReopener* asciiReopener_;
    PortReopener* seaSunReopener_;
    RecordLayout layout_;
    AsciiFramer framer_;
    BitTable bit_table;
    const Instrument* instrument_ = nullptr;
    ConnectionState state_;
    qint64 recordsRejected_ = 0;
};
