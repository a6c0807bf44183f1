#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/frm_main.h"
#include "support/fake_dialogs.h"
#include "support/fake_port.h"
#include "support/settings_file.h"

namespace {

using test_support::SettingsFile;

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.dialogs = &dialogs;
        services.makePort = [this](QObject* parent) { return new FakePort(parent, &journal); };
    }
    void TearDown() override { window.reset(); }

    // Starts the program and lets it run until it has settled.
    void start() {
        window = std::make_unique<frm_main>(services);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
    }
    QString text(const char* box) { return window->findChild<QLineEdit*>(box)->text(); }
    QCheckBox* box(const char* name) { return window->findChild<QCheckBox*>(name); }
    void click(const char* button) { window->findChild<QPushButton*>(button)->click(); }
    QString file() const { return QDir::toNativeSeparators(settings.path()); }

    SettingsFile settings;
    FakeDialogs dialogs;
    QStringList journal;
    Services services;
    std::unique_ptr<frm_main> window;
};

TEST_F(SettingsWindowTest, ACleanFileOrNoneShowsNoMessage) {
    start();
    ASSERT_TRUE(settings.write("[COM_Port]\nIN=\"3:1200,O,8,1\"\n"));
    window.reset();
    start();
    EXPECT_EQ(text("Text3"), "3");
    click("Command3");
    click("Command4");
    EXPECT_TRUE(dialogs.messages.empty());
}

// The program starts with what it could read, names the file and what is wrong once, and
// works as usual.
TEST_F(SettingsWindowTest, ADamagedFileIsNamedOnceAndTheProgramRuns) {
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
TEST_F(SettingsWindowTest, UdpOutputAndLogTimeComeBackAtTheNextStart) {
    const struct {
        QByteArray file;
        const char* target;
        bool sending, utc;
        QStringList named;
    } cases[] = {
        {"[Options]\nUdpTarget=10.0.0.255:5602\nUdpSending=true\nLogTimeUtc=true\n",
         "10.0.0.255:5602",
         true,
         true,
         {}},
        {"[Options]\nUdpTarget=\"[::1]:5602\"\nUdpSending=yes\nLogTimeUtc=1\n",
         "[::1]:5602",
         false,
         false,
         {"UdpSending", "LogTimeUtc"}},
        {"[Options]\nUdpTarget=\"a\tb\"\nUdpSending=false\n", "", false, false, {"UdpTarget"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        window.reset();
        dialogs.messages.clear();
        ASSERT_TRUE(settings.write(c.file));
        start();
        EXPECT_EQ(text("tx_udp"), c.target);
        EXPECT_EQ(box("ck_udp")->isChecked(), c.sending);
        EXPECT_EQ(window->findChild<Timer*>("udp_timer")->isTicking(), c.sending);
        EXPECT_EQ(box("ck_utc")->isChecked(), c.utc);
        ASSERT_EQ(dialogs.messages.size(), c.named.isEmpty() ? 0u : 1u);
        for (const QString& key : c.named) {
            EXPECT_TRUE(dialogs.messages[0].text.contains(key + " under [Options]"))
                << key.toStdString();
        }
    }
    auto* target = window->findChild<QLineEdit*>("tx_udp");
    target->setText("echosounder.invalid:5602");
    emit target->editingFinished();
    box("ck_udp")->click();
    box("ck_utc")->click();
    window.reset();
    dialogs.messages.clear();
    start();
    EXPECT_EQ(text("tx_udp"), "echosounder.invalid:5602");
    EXPECT_TRUE(box("ck_udp")->isChecked());
    EXPECT_TRUE(box("ck_utc")->isChecked());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsWindowTest, AFileFullOfJunkGivesAMessageThatFitsTheScreen) {
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

struct UnwritableCase {
    const char* name;
    bool (SettingsFile::*make)();
    int startMessages;  // 1 when the store cannot be read either
};

class UnwritableStoreTest : public SettingsWindowTest,
                            public ::testing::WithParamInterface<UnwritableCase> {};

// Every start connects; the user hears once that the texts are not remembered.
TEST_P(UnwritableStoreTest, ConnectionsProceedAndTheUserIsToldOnce) {
    ASSERT_TRUE((settings.*GetParam().make)());
    start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dialogs.messages.size() == std::size_t(GetParam().startMessages); }));
    for (int i = 0; i < 3; ++i) {
        click("Command3");
        click("Command4");
    }
    EXPECT_EQ(journal.count("Com_in open"), 3);
    EXPECT_EQ(journal.count("com_out open"), 3);
    ASSERT_EQ(dialogs.messages.size(), std::size_t(GetParam().startMessages) + 1);
    const FakeDialogs::Shown& told = dialogs.messages.back();
    EXPECT_EQ(told.title, "Settings file");
    EXPECT_TRUE(told.text.contains(file()));
    EXPECT_TRUE(told.text.contains("could not be saved"));
    EXPECT_TRUE(window->findChild<Timer*>("Timer4")->isTicking());
}

INSTANTIATE_TEST_SUITE_P(Stores, UnwritableStoreTest,
                         ::testing::Values(UnwritableCase{"FolderInPlaceOfTheFile",
                                                          &SettingsFile::makeFolderInItsPlace, 1},
                                           UnwritableCase{"FileInPlaceOfTheFolder",
                                                          &SettingsFile::makeFileInPlaceOfItsFolder,
                                                          0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
