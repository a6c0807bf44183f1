#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include "platform/settings_store.h"
#include "support/settings_file.h"
#include "support/window_test.h"

namespace {

using test_support::SettingsFile;

class SettingsWindow : public WindowTest {
protected:
    // Starts the program afresh and lets it run until it has settled.
    void start() {
        closeWindow();
        window();
        QCoreApplication::processEvents();
    }
    QCheckBox* box(const char* name) { return find<QCheckBox>(name); }
    QString file() const { return QDir::toNativeSeparators(settings.path()); }

    SettingsFile settings;
};

// The program starts with what it could read, names the file and what is wrong once, and
// works as usual.
TEST_F(SettingsWindow, ADamagedFileIsNamedOnceAndTheProgramRuns) {
    ASSERT_TRUE(settings.write("[COM_Port]\nOUT=\"4:9600,E,7,2\"\nIN=\"3:1200,O,8,1\n"));
    start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Settings file");
    EXPECT_TRUE(dialogs.messages[0].text.contains(file()));
    EXPECT_TRUE(dialogs.messages[0].text.contains("IN under [COM_Port]"));
    EXPECT_EQ(text("Text3"), "1");
    EXPECT_EQ(text("Text2"), "19200,N,8,1");
    EXPECT_EQ(text("Text5"), "4");
    EXPECT_EQ(text("Text6"), "9600,E,7,2");

    click("Command3");
    EXPECT_TRUE(journal.contains("Com_in open"));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(settings_store::portConfiguration(settings_store::kInputKey), "1:19200,N,8,1");
}

// What was chosen comes back at the next start, a remembered UDP output sending at once without a
// click; a stored choice that cannot be used is named and gives way to its default.
TEST_F(SettingsWindow, UdpOutputAndLogTimeComeBackAtTheNextStart) {
    const struct {
        const char *storedTarget, *storedSending, *storedUtc, *target;
        bool sending, utc;
        QStringList named;
    } cases[] = {
        {"10.0.0.255:5602", "true", "true", "10.0.0.255:5602", true, true, {}},
        {"\"[::1]:5602\"", "yes", "1", "[::1]:5602", false, false, {"UdpSending", "LogTimeUtc"}},
        {"\"a\tb\"", "false", "false", "", false, false, {"UdpTarget"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.storedTarget);
        closeWindow();
        dialogs.messages.clear();
        ASSERT_TRUE(settings.write(QByteArray("[Options]\nUdpTarget=") + c.storedTarget +
                                   "\nUdpSending=" + c.storedSending +
                                   "\nLogTimeUtc=" + c.storedUtc + "\n"));
        start();
        EXPECT_EQ(text("tx_udp"), c.target);
        EXPECT_EQ(box("ck_udp")->isChecked(), c.sending);
        EXPECT_EQ(find<Timer>("udp_timer")->isTicking(), c.sending);
        EXPECT_EQ(box("ck_utc")->isChecked(), c.utc);
        ASSERT_EQ(dialogs.messages.size(), c.named.isEmpty() ? 0u : 1u);
        for (const QString& key : c.named) {
            EXPECT_TRUE(dialogs.messages[0].text.contains(key + " under [Options]"))
                << key.toStdString();
        }
    }
    type("tx_udp", "echosounder.invalid:5602");
    emit find<QLineEdit>("tx_udp")->editingFinished();
    box("ck_udp")->click();
    box("ck_utc")->click();
    box("ck_daily")->click();
    closeWindow();
    dialogs.messages.clear();
    start();
    EXPECT_EQ(text("tx_udp"), "echosounder.invalid:5602");
    EXPECT_TRUE(box("ck_udp")->isChecked());
    EXPECT_TRUE(box("ck_utc")->isChecked());
    EXPECT_TRUE(box("ck_daily")->isChecked());
    EXPECT_EQ(settings_store::options().logDaily, true);
    EXPECT_TRUE(dialogs.messages.empty());
}

// The layout and the fixed pressure come back at the next start, and a probe that gives only its
// sound velocity shows "-" for what it does not measure. A layout that cannot be read is named,
// at the start or when it is chosen, and the one in force stays.
TEST_F(SettingsWindow, RecordLayoutsComeBackAndShowWhatTheProbeGives) {
    ASSERT_TRUE(settings.write("[Options]\nAsciiRecords=SV probe\nFixedPressure=2.5\n"));
    start();
    auto* records = find<QComboBox>("cb_records");
    EXPECT_EQ(records->currentText(), "SV probe");
    EXPECT_EQ(text("tx_fixed_pressure"), "2.5");
    click("Command3");
    receive("00.1\r\n 1500.123\r\n");
    for (const auto& [label, shown] : {std::pair{"lb_sound", "1500.12"},
                                       {"lb_con", "-"},
                                       {"lb_temp", "-"},
                                       {"lb_salinity", "-"},
                                       {"lb_press", "2.5"}}) {
        EXPECT_EQ(text(label), shown) << label;
    }
    EXPECT_TRUE(text("lb_in_status").contains("SV probe records"))
        << text("lb_in_status").toStdString();
    EXPECT_TRUE(dialogs.messages.empty());

    emit records->activated(records->findText("Custom"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("[Record] gives neither"));
    EXPECT_EQ(records->currentText(), "SV probe");

    dialogs.messages.clear();
    ASSERT_TRUE(
        settings.write("[Options]\nAsciiRecords=Custom\nFixedPressure=deep\n"
                       "[Record]\nSeparator=pipe\nSoundVelocity=1\n"));
    start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }));
    for (const char* named :
         {"FixedPressure under [Options] (\"deep\")", "Separator under [Record] (\"pipe\")"}) {
        EXPECT_TRUE(dialogs.messages[0].text.contains(named)) << named;
    }
    EXPECT_EQ(find<QComboBox>("cb_records")->currentText(), "Kestrane");
    EXPECT_EQ(text("tx_fixed_pressure"), "0");
}

TEST_F(SettingsWindow, AFileFullOfJunkGivesAMessageThatFitsTheScreen) {
    QByteArray junk = "[Ports]\n";
    for (int i = 0; i < 500; ++i) {
        junk += "junk" + QByteArray::number(i) + "=x\n";
    }
    ASSERT_TRUE(settings.write(junk));
    start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }));
    const QString& text = dialogs.messages[0].text;
    EXPECT_LT(text.count(QStringLiteral("\r\n")), 20);
    EXPECT_TRUE(text.contains("492 more")) << text.toStdString();
}

// Every start connects; the user hears once that the texts are not remembered, and why, after
// the start-up message when the store cannot be read either. A missing file is no problem.
TEST_F(SettingsWindow, AnUnwritableStoreConnectsAndTellsTheUserOnce) {
    const struct {
        bool (SettingsFile::*make)();
        std::size_t startMessages;
        QString reason;
    } cases[] = {
        {&SettingsFile::makeFolderInItsPlace, 1, "a folder has its name"},
        {&SettingsFile::makeFileInPlaceOfItsFolder, 0,
         QDir::toNativeSeparators(QFileInfo(settings.path()).path()) + " is a file, not a folder"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.startMessages);
        closeWindow();
        journal.clear();
        dialogs.messages.clear();
        ASSERT_TRUE((settings.*c.make)());
        start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.messages.size() == c.startMessages; }));
        if (c.startMessages) {
            EXPECT_TRUE(dialogs.messages[0].text.contains("cannot be read"));
        }
        for (int i = 0; i < 3; ++i) {
            click("Command3");
            click("Command4");
        }
        EXPECT_EQ(journal.count("Com_in open"), 3);
        EXPECT_EQ(journal.count("com_out open"), 3);
        ASSERT_EQ(dialogs.messages.size(), c.startMessages + 1);
        EXPECT_EQ(dialogs.messages.back().title, "Settings file");
        EXPECT_TRUE(dialogs.messages.back().text.contains(file()));
        EXPECT_TRUE(dialogs.messages.back().text.contains("could not be saved"));
        EXPECT_TRUE(dialogs.messages.back().text.contains(c.reason)) << c.reason.toStdString();
        EXPECT_TRUE(find<Timer>("Timer4")->isTicking());
    }
}

}  // namespace
