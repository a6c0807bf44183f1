#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QStringList>
#include <numeric>
#include <vector>

#include "app/station/services.h"
#include "input/sea_sun_encoder.h"
#include "support/fake_port.h"

// What the tests of the station, of its controllers and of the window share: the instruments'
// bytes, fake ports to deliver them, and the log files read back.

// A record line of a Kestrane-like instrument.
inline QByteArray recordLine(const char* conductivity, const char* pressure,
                             const char* temperature) {
    return QByteArray(conductivity) + "\tMS/CM\t" + pressure + "\tDBAR\t" + temperature + "\tC\r\n";
}

// A Sea & Sun block: nineteen filler bytes, then a word of each channel, so every word ends at
// index 21 or later.
inline QByteArray seaSunBlock(int pressureCount, int temperatureCount, int conductivityCount) {
    using sea_sun::Channel;
    return QByteArray(19, '\0') + sea_sun::encodeWord(Channel::Pressure, pressureCount) +
           sea_sun::encodeWord(Channel::Temperature, temperatureCount) +
           sea_sun::encodeWord(Channel::Conductivity, conductivityCount);
}

// The bytes reach the fake port as the device would send them.
inline void deliver(SerialPort* port, const QByteArray& bytes) {
    static_cast<FakePort*>(port)->incoming = bytes;
    emit port->dataReceived();
}

// Services whose ports are FakePorts recording into `journal`. Every test starts from an empty
// settings store and the C locale, whatever the test before it left behind, and leaves them so.
class FakeServicesTest : public ::testing::Test {
protected:
    FakeServicesTest() {
        startAfresh();
        services.makePort = [this](QObject* parent) { return new FakePort(parent, &journal); };
    }
    ~FakeServicesTest() override { startAfresh(); }

    QStringList journal;
    Services services;

private:
    static void startAfresh() {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Sondrel", "Sondrel").clear();
        QLocale::setDefault(QLocale::c());
    }
};

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// The sample numbers of a log's data lines in file order, where sample k was logged with the
// temperature k in the C locale; a broken line counts as sample -1.
inline std::vector<int> sampleNumbers(const QString& path) {
    std::vector<int> numbers;
    for (const QByteArray& line : fileBytes(path).split('\n').mid(1)) {
        if (!line.isEmpty()) {
            const QByteArray field = line.split('\t').value(3);
            numbers.push_back(field.endsWith(".000") ? field.chopped(4).toInt() : -1);
        }
    }
    return numbers;
}

inline std::vector<int> samplesFrom(int first, int last) {
    std::vector<int> numbers(last - first + 1);
    std::iota(numbers.begin(), numbers.end(), first);
    return numbers;
}
