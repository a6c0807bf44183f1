#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "support/settings_file.h"

namespace {

using settings_store::deviceForPort;
using settings_store::kInputKey;
using settings_store::portConfiguration;
using test_support::SettingsFile;

// A file edited by hand or damaged: what can be read is, and one problem names the rest.
TEST(SettingsStore, ReadsWhatItCanAndReportsTheRest) {
    const struct {
        QByteArray bytes;
        QString input;        // what "IN" gives
        QString port3;        // the device port 3 opens
        const char* problem;  // a word of the one problem reported, nullptr for none
    } cases[] = {
        {"[COM_Port]\nIN=\"3:1200,O,8,1\"\n[Ports]\nCOM3=/dev/ttyUSB0\n", "3:1200,O,8,1",
         "/dev/ttyUSB0", nullptr},
        // A value typed without quotes is split at its commas by the file format.
        {"[COM_Port]\nIN=3:1200,O,8,1\n", "3:1200,O,8,1", "/dev/ttyS2", nullptr},
        {QByteArray("\x00\xff\xfe\x01[\x80\x7f=\x01\x02\n\x9b", 12), "", "/dev/ttyS2",
         "settings format"},
        // A crash in mid-write leaves a quote open: it swallows every line after it.
        {"[COM_Port]\nIN=\"3:1200,O,8,1\n[Ports]\nCOM3=/dev/ttyUSB0\n", "", "/dev/ttyS2",
         "never closed"},
        {"[COM_Port]\nIN=@Variant(\\0\\0\\0\\x7f)\n", "", "/dev/ttyS2",
         "IN under [COM_Port] cannot be read"},
        {"[Ports]\nCOM3=/dev/tty\xe9USB0\n", "", "/dev/tty\uFFFDUSB0", "cannot be opened"},
        {"[Ports]\nCOM3=\n", "", "/dev/ttyS2", "opens /dev/ttyS2"},
        {"[Ports]\nCOM3=ttyUSB0\n", "", "/dev/ttyUSB0", nullptr},
        {"[Ports]\nCOM3=serial/by-id/usb-FTDI-if00\n", "", "/dev/serial/by-id/usb-FTDI-if00",
         nullptr},
        {"[Ports]\ncom3=/dev/ttyUSB0\n", "", "/dev/ttyS2", "com3"},
        {"[Ports]\nCOM0=/dev/ttyUSB0\nCOM3=/dev/ttyUSB1\n", "", "/dev/ttyUSB1", "COM0"},
        // Device servers on the network.
        {"[Ports]\nCOM3=tcp://10.0.0.5:4001\n", "", "tcp://10.0.0.5:4001", nullptr},
        {"[Ports]\nCOM3=tcp://[fd00::5]:4001\n", "", "tcp://[fd00::5]:4001", nullptr},
        {"[Ports]\nCOM3=tcp-listen://:4001?from=10.0.0.5\n", "", "tcp-listen://:4001?from=10.0.0.5",
         nullptr},
        {"[Ports]\nCOM3=udp://239.192.0.1:5601\n", "", "udp://239.192.0.1:5601", nullptr},
        {"[Ports]\nCOM3=tcp://host\n", "", "tcp://host",
         "COM3 under [Ports] (\"tcp://host\") cannot be used: it names no port"},
        {"[Ports]\nCOM3=tcp://:0\n", "", "tcp://:0", "port 0 is outside 1..65535"},
        {"[Ports]\nCOM3=tcp://10.0.0.5:70000\n", "", "tcp://10.0.0.5:70000",
         "port 70000 is outside"},
        {"[Ports]\nCOM3=udp://999.1.1.1:5601\n", "", "udp://999.1.1.1:5601",
         "999.1.1.1 is no address"},
        {"[Ports]\nCOM3=serial://ttyUSB0:1\n", "", "serial://ttyUSB0:1",
         "serial:// is no kind of link"},
        {"[Ports]\nCOM3=tcp://10.0.0.5:4001?from=10.0.0.9\n", "",
         "tcp://10.0.0.5:4001?from=10.0.0.9", "only a listening link takes from="},
        {"[Ports]\nCOM3=udp://:5601?from=ship\n", "", "udp://:5601?from=ship",
         "from=ship is no address"},
    };
    SettingsFile file;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        ASSERT_TRUE(file.write(c.bytes));
        EXPECT_EQ(portConfiguration(kInputKey), c.input);
        EXPECT_EQ(deviceForPort(3), c.port3);
        const QStringList problems = settings_store::problems();
        EXPECT_EQ(problems.size(), c.problem ? 1 : 0) << problems.join(' ').toStdString();
        if (c.problem) {
            EXPECT_TRUE(problems.join(' ').contains(QLatin1String(c.problem))) << c.problem;
        }
    }
}

// What was readable survives the next store; the junk does not come back.
TEST(SettingsStore, StoringIntoAFileWithJunkKeepsTheReadableEntries) {
    SettingsFile file;
    ASSERT_TRUE(file.write("[Ports]\nCOM3=/dev/ttyUSB0\n\x01\x02=\x9b\n[junk\n"));
    EXPECT_TRUE(settings_store::problems().join(' ').contains("settings format"));
    EXPECT_TRUE(settings_store::setPortConfiguration(kInputKey, "3:9600,N,8,1").ok());
    EXPECT_EQ(portConfiguration(kInputKey), "3:9600,N,8,1");
    EXPECT_EQ(deviceForPort(3), "/dev/ttyUSB0");
    EXPECT_FALSE(file.bytes().contains('\x9b'));
}

}  // namespace
