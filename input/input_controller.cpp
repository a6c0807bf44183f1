#include "input/input_controller.h"

#include <exception>

#include "input/ascii_record.h"
#include "input/record_layouts.h"
#include "input/sea_sun_decoder.h"
#include "platform/number_text.h"
#include "platform/port_settings.h"
#include "platform/timer.h"

namespace {

constexpr int kPollIntervalMs = 1000;
constexpr int kAgeIntervalMs = 1000;
// Bytes a poll may take beyond one second of data at the port's rate.
constexpr int kPollMargin = 256;

SerialPort* namedPort(const PortFactory& makePort, QObject* parent, const char* name) {
    SerialPort* port = makePort(parent);
    port->setObjectName(QString::fromLatin1(name));
    return port;
}

// The value of a Sea & Sun word that was accepted, with the text its label shows.
void store(InstrumentReading& reading, const sea_sun::Step& step) {
    const sea_sun::LabelUpdate& label = *step.label;
    sea_sun::Values values = step.values;
    const double value = sea_sun::valueOf(values, label.channel);
    switch (label.channel) {
        case sea_sun::Channel::Pressure:
            reading.pressure = value;
            reading.pressureText = label.text;
            return;
        case sea_sun::Channel::Temperature:
            reading.temperature = value;
            reading.temperatureText = label.text;
            return;
        case sea_sun::Channel::Conductivity:
            reading.conductivity = value;
            reading.conductivityText = label.text;
            return;
    }
}

}  // namespace

InputController::InputController(const PortFactory& makePort, QObject* parent)
    : QObject(parent),
      Com_in(namedPort(makePort, this, "Com_in")),
      Com_SST(namedPort(makePort, this, "Com_SST")),
      timer_sst(new Timer(QStringLiteral("timer_sst"), kPollIntervalMs, this)),
      reading_age(new Timer(QStringLiteral("reading_age"), kAgeIntervalMs, this)),
      asciiReopener_(new PortReopener(Com_in, this)),
      seaSunReopener_(new PortReopener(Com_SST, this)),
      layout_(*record_layouts::presets().standard.layout),
      bit_table(buildBitTable()) {
    QObject::connect(Com_in, &SerialPort::dataReceived, this, &InputController::readAscii);
    QObject::connect(Com_in, &SerialPort::failed, this, &InputController::asciiLost);
    QObject::connect(Com_SST, &SerialPort::failed, this, &InputController::seaSunLost);
    QObject::connect(timer_sst, &Timer::tick, this, &InputController::pollSeaSun);
    QObject::connect(reading_age, &Timer::tick, this, &InputController::secondPassed);
    reading_age->setEnabled(true);
    for (SerialPort* port : {Com_in, Com_SST}) {
        port->setSilenceLimit(kLinkSilenceMs);
    }
    for (PortReopener* reopener : {asciiReopener_, seaSunReopener_}) {
        QObject::connect(reopener, &PortReopener::stateChanged, this, &InputController::setState);
    }
}

PortResult InputController::start(const Instrument& instrument, const QString& portText,
                                  const QString& settingsText, WhenAbsent absent) {
    asciiReopener_->stop();
    seaSunReopener_->stop();
    instrument_ = &instrument;
    recordsRejected_ = 0;
    emit recordsRejectedChanged(recordsRejected_);
    const bool polled = instrument.reading == Instrument::Reading::PolledWords;
    if (polled) {
        // A poll takes at most about one second of data: a device flooding at a wrong rate can
        // neither fill the memory nor make one tick decode for long.
        const std::optional<PortSettings> settings = parsePortSettings(settingsText);
        Com_SST->setReadBufferSize(settings ? settings->baudRate / 8 + kPollMargin : kPollMargin);
    }
    // A line end frames every record: a line left half-received by the connection before must
    // not join the first bytes of this one. The Kestrane's framing keeps its buffer, as it
    // always has, and drops the partial line by its own framing.
    if (!polled && layout_.framing == RecordLayout::Framing::Lines) {
        framer_.clear();
    }
    const PortResult result = connect(*reopenerOf(instrument), portText, settingsText, absent);
    if (!polled && Com_in->startsAtRecord()) {
        framer_.beginAtRecord();
    }
    if (polled && (result.ok() || absent == WhenAbsent::Retry)) {
        timer_sst->setEnabled(true);
    }
    if (!result.ok() && absent == WhenAbsent::Tell) {
        explainHeldByOther(instrument);
    }
    return result;
}

void InputController::setRecordLayout(const RecordLayout& layout) {
    layout_ = layout;
    framer_.setFraming(layout.framing);
}

SerialPort* InputController::portOf(const Instrument& instrument) const {
    return instrument.reading == Instrument::Reading::PolledWords ? Com_SST : Com_in;
}

PortReopener* InputController::reopenerOf(const Instrument& instrument) const {
    return instrument.reading == Instrument::Reading::PolledWords ? seaSunReopener_
                                                                  : asciiReopener_;
}

PortResult InputController::connect(PortReopener& reopener, const QString& portText,
                                    const QString& settingsText, WhenAbsent absent) {
    const PortReopener::Started started =
        reopener.connect(portText, settingsText, absent,
                         [this](const QString& value) { emit portTextsChosen(value); });
    setState(started.state);
    return started.result;
}

// Both instruments may be started on one device; the one started second cannot have it.
void InputController::explainHeldByOther(const Instrument& instrument) {
    const SerialPort* port = portOf(instrument);
    for (const Instrument& other : instruments::table()) {
        const SerialPort* otherPort = portOf(other);
        if (otherPort != port && otherPort->isOpen() && otherPort->device() == port->device()) {
            setState(ConnectionState::failed(QStringLiteral("%1 is held by the %2 connection")
                                                 .arg(port->device(), QLatin1String(other.title))));
            return;
        }
    }
}

void InputController::close() {
    timer_sst->setEnabled(false);
    asciiReopener_->stop();
    seaSunReopener_->stop();
    for (SerialPort* port : {Com_in, Com_SST}) {
        if (port->isInUse()) {
            port->close();
        }
    }
}

const Instrument* InputController::connected() const {
    return instrument_ && portOf(*instrument_)->isOpen() ? instrument_ : nullptr;
}

void InputController::setState(const ConnectionState& state) {
    state_ = state;
    emit stateChanged(state_);
}

// Every complete record is read, in order, before waiting for more, so the fields always end
// with the newest reading however many records one notification brings.
void InputController::readAscii() {
    const QByteArray bytes = Com_in->readAll();
    if (bytes.isEmpty()) {
        return;
    }
    emit received(bytes);
    const bool betweenPairs = layout_.framing == RecordLayout::Framing::BetweenCrLfPairs;
    for (const QByteArray& record : framer_.append(bytes)) {
        if (!betweenPairs && !isRecordLine(layout_, record)) {
            continue;
        }
        if (takeRecord(record)) {
            continue;
        }
        ++recordsRejected_;
        emit recordsRejectedChanged(recordsRejected_);
        // Between CR LF pairs a bad record may be the half of one: the framing starts afresh.
        // A line end frames every record, so a bad line is only passed over.
        if (betweenPairs) {
            recoverAscii();
            return;
        }
    }
}

// A bad field leaves the values before it stored and the labels and computed values as they
// were. A quantity the instrument does not give shows as "-".
bool InputController::takeRecord(QByteArrayView record) {
    const AsciiReading values = readAsciiRecord(layout_, record);
    InstrumentReading reading;
    reading.pressure = values.pressure;
    reading.conductivity = values.conductivity;
    reading.temperature = values.temperature;
    reading.soundVelocity = values.soundVelocity;
    if (values.complete) {
        const auto text = [](const std::optional<double>& value, double factor = 1) {
            return value ? number_text::formatGeneral(*value * factor) : QStringLiteral("-");
        };
        reading.complete = true;
        reading.fresh = true;
        // A pressure the instrument does not give is filled in by whoever knows the probe's.
        reading.pressureText = values.pressure ? text(values.pressure, 10) : QString();
        reading.conductivityText = text(values.conductivity);
        reading.temperatureText = text(values.temperature);
    }
    emit this->reading(reading);
    return reading.complete;
}

// A reading error drops whatever was half-received: the buffer, and what the port holds (a
// serial port closes and reopens with the number and settings it already has). The next record read
// is the first that arrives framed by two CR LF pairs.
void InputController::recoverAscii() {
    restartFraming();
    if (const PortResult result = Com_in->restart(); !result.ok()) {
        asciiLost(result.error());
    }
}

// One poll of the instrument: everything received since the last tick is shown raw and decoded.
// A block never carries anything over to the next tick, and a failing tick ends quietly so that
// the next one starts afresh. The tick counts as a reading only when the instrument sent a value
// worth taking.
void InputController::pollSeaSun() {
    if (!Com_SST->isOpen()) {
        return;
    }
    try {
        const QByteArray block = Com_SST->readAll();
        emit polled(block);
        const sea_sun::Decoding decoding = sea_sun::decode(block, bit_table, {});
        bool accepted = false;
        for (std::size_t i = 0; i < decoding.steps.size(); ++i) {
            const sea_sun::Step& step = decoding.steps[i];
            InstrumentReading reading;
            reading.complete = true;
            if (step.label) {
                store(reading, step);
                accepted = true;
            }
            reading.fresh = accepted && i + 1 == decoding.steps.size();
            emit this->reading(reading);
        }
    } catch (const std::exception&) {
        // Whatever was stored before the failure stays; the rest of the block is dropped.
    }
}

// The device has gone (unplugged, read error) and its port is closed: try it again about once a
// second, quietly, until it is back.
void InputController::asciiLost(const PortError& error) {
    restartFraming();
    asciiReopener_->start();
    setState(ConnectionState::reconnecting(error.reason));
}

void InputController::restartFraming() {
    if (Com_in->startsAtRecord()) {
        framer_.beginAtRecord();
    } else {
        framer_.clear();
    }
}

void InputController::seaSunLost(const PortError& error) {
    seaSunReopener_->start();
    setState(ConnectionState::reconnecting(error.reason));
}
