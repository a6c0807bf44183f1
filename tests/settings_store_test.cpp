#include <gtest/gtest.h>

#include <QFileInfo>

#include "platform/settings_store.h"
#include "support/settings_file.h"

namespace {

using test_support::SettingsFile;

struct FileCase {
    const char* name;
    QByteArray bytes;
    QString input;        // what "IN" gives
    QString port3;        // the device port 3 opens
    const char* problem;  // a word of the one problem reported, nullptr for none
};

class SettingsFileTest : public ::testing::TestWithParam<FileCase> {
protected:
    SettingsFile file;
};

TEST_P(SettingsFileTest, ReadsWhatItCanAndReportsTheRest) {
    const FileCase& c = GetParam();
    ASSERT_TRUE(file.write(c.bytes));
    EXPECT_EQ(settings_store::portConfiguration(settings_store::kInputKey), c.input);
    EXPECT_EQ(settings_store::deviceForPort(3), c.port3);
    const QStringList problems = settings_store::problems();
    if (!c.problem) {
        EXPECT_TRUE(problems.isEmpty()) << problems.join(' ').toStdString();
        return;
    }
    ASSERT_EQ(problems.size(), 1) << problems.join(' ').toStdString();
    EXPECT_TRUE(problems[0].contains(QLatin1String(c.problem))) << problems[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    HandEditedOrDamaged, SettingsFileTest,
    ::testing::Values(
        FileCase{"Clean", "[COM_Port]\nIN=\"3:1200,O,8,1\"\n[Ports]\nCOM3=/dev/ttyUSB0\n",
                 "3:1200,O,8,1", "/dev/ttyUSB0", nullptr},
        // A value typed without quotes is split at its commas by the file format.
        FileCase{"UnquotedCommas", "[COM_Port]\nIN=3:1200,O,8,1\n", "3:1200,O,8,1", "/dev/ttyS2",
                 nullptr},
        FileCase{"NoColon", "[COM_Port]\nIN=7\n", "7", "/dev/ttyS2", nullptr},
        FileCase{"BinaryJunk", QByteArray("\x00\xff\xfe\x01[\x80\x7f=\x01\x02\n\x9b", 12), "",
                 "/dev/ttyS2", "settings format"},
        // A crash in mid-write leaves a quote open: it swallows every line after it.
        FileCase{"HalfWrittenLine", "[COM_Port]\nIN=\"3:1200,O,8,1\n[Ports]\nCOM3=/dev/ttyUSB0\n",
                 "", "/dev/ttyS2", "never closed"},
        FileCase{"UnreadableValue", "[COM_Port]\nIN=@Variant(\\0\\0\\0\\x7f)\n", "", "/dev/ttyS2",
                 "IN under [COM_Port] cannot be read"},
        FileCase{"Latin1Device", "[Ports]\nCOM3=/dev/tty\xe9USB0\n", "", "/dev/tty\uFFFDUSB0",
                 "cannot be opened"},
        FileCase{"EmptyDevice", "[Ports]\nCOM3=\n", "", "/dev/ttyS2", "opens /dev/ttyS2"},
        FileCase{"RelativeDevice", "[Ports]\nCOM3=ttyUSB0\n", "", "/dev/ttyUSB0", nullptr},
        FileCase{"RelativeByIdDevice", "[Ports]\nCOM3=serial/by-id/usb-FTDI-if00\n", "",
                 "/dev/serial/by-id/usb-FTDI-if00", nullptr},
        FileCase{"MisnamedKey", "[Ports]\ncom3=/dev/ttyUSB0\n", "", "/dev/ttyS2", "com3"},
        FileCase{"NumberOutOfRange", "[Ports]\nCOM0=/dev/ttyUSB0\nCOM3=/dev/ttyUSB1\n", "",
                 "/dev/ttyUSB1", "COM0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsStore, AFolderInPlaceOfTheFileIsReportedAndNotWritten) {
    SettingsFile file;
    ASSERT_TRUE(file.makeFolderInItsPlace());
    EXPECT_EQ(settings_store::portConfiguration(settings_store::kInputKey), QString());
    EXPECT_EQ(settings_store::deviceForPort(3), "/dev/ttyS2");
    const QStringList problems = settings_store::problems();
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("cannot be read"));
    const auto failure =
        settings_store::setPortConfiguration(settings_store::kInputKey, "1:9600,N,8,1");
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, "a folder has its name");
}

TEST(SettingsStore, AFileInPlaceOfTheFolderIsNotWritten) {
    SettingsFile file;
    ASSERT_TRUE(file.makeFileInPlaceOfItsFolder());
    EXPECT_TRUE(settings_store::problems().isEmpty()) << "no file is not a problem";
    const auto failure =
        settings_store::setPortConfiguration(settings_store::kOutputKey, "2:4800,N,8,1");
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, QFileInfo(file.path()).path() + " is a file, not a folder");
}

// What was readable survives the next store; the junk does not come back.
TEST(SettingsStore, StoringIntoAFileWithJunkKeepsTheReadableEntries) {
    SettingsFile file;
    ASSERT_TRUE(file.write("[Ports]\nCOM3=/dev/ttyUSB0\n\x01\x02=\x9b\n[junk\n"));
    EXPECT_TRUE(settings_store::problems().join(' ').contains("settings format"));
    EXPECT_FALSE(settings_store::setPortConfiguration(settings_store::kInputKey, "3:9600,N,8,1"));
    EXPECT_EQ(settings_store::portConfiguration(settings_store::kInputKey), "3:9600,N,8,1");
    EXPECT_EQ(settings_store::deviceForPort(3), "/dev/ttyUSB0");
    EXPECT_FALSE(file.bytes().contains('\x9b'));
}

}  // namespace
