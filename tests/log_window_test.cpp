#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include "support/event_loop.h"
#include "support/failing_text_files.h"
#include "support/window_test.h"

namespace {

// The window over real files that can be told to fail.
class LogWindow : public WindowTest {
protected:
    LogWindow() { services.textFiles = files; }

    // The log's thread answers a file chosen: in a message, or with the file in use.
    void choose(const std::optional<QString>& answer) {
        const std::size_t told = dialogs.messages.size();
        dialogs.chosenFiles.push_back(answer);
        click("Command5");
        if (answer && !answer->isEmpty() && dialogs.answerYes) {
            ASSERT_TRUE(test_support::runUntil(
                [&] {
                    return dialogs.messages.size() > told ||
                           window().station().data_file == *answer;
                },
                std::chrono::seconds(10)));
        }
    }
    void setInterval(const QString& seconds) {
        type("Text7", seconds);
        click("Command6");
    }
    // A second each: the sample, then its write, until the lines are in the file or it fails.
    void sampleTo(int last) {
        const LogController& log = window().station().log();
        while (log.samples() < last) {
            emit find<Timer>("Timer2")->tick();
            emit find<Timer>("log_write")->tick();
        }
        ASSERT_TRUE(
            test_support::runUntil([&] { return log.waitingLines() == 0 || log.state().alarm(); },
                                   std::chrono::seconds(10)));
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    std::shared_ptr<FailingTextFiles> files = std::make_shared<FailingTextFiles>();
};

// With "Resume after a restart" checked, a program ended from outside and started again shows
// the choices that ran and connects, sends and logs again without a click, its count starting
// again at 1. A refused sampling interval is told and changes nothing. Such an ending asks
// nothing: the lines the log file cannot take go to a recovery file, told at the next start.
TEST_F(LogWindow, ARestartResumesWhatRan) {
    find<QCheckBox>("ck_resume")->click();
    WindowTest::choose("op_ssv");
    type("tx_timer", "250");
    setInterval("2");
    setInterval("soon");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    click("Command3");
    click("Command4");
    choose(path);
    sampleTo(25);
    files->failAppend = true;
    sampleTo(27);
    window().endUnattended();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(dialogs.saveRequests.size(), 1u);

    closeWindow();
    dialogs = FakeDialogs();
    files->failAppend = false;
    window();
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("could not take"));
    EXPECT_TRUE(find<QCheckBox>("ck_resume")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("op_ssv")->isChecked());
    EXPECT_EQ(text("tx_timer"), "250");
    EXPECT_EQ(text("Label18"), "Sampling Interval is: 2 sec.");
    sampleTo(5);
    EXPECT_EQ(text("lb_nnn"), " Data logged: 5");
    EXPECT_TRUE(dialogs.questions.empty());
}

// Choosing asks, then creates the file with the header and starts sampling; the chooser offers
// the name chosen last. Cancel, No, or a file that cannot be created (told in a message) leave
// the log as it was. A file that stops taking lines shows beside the interval, without a message,
// the beginning of the text where the line is too narrow for it; closing the window asks where
// its lines go, and cancelled, tells the recovery file.
TEST_F(LogWindow, ChoosingAFileAsksAndTellsWhatFails) {
    const QString unreachable = dir.filePath(QStringLiteral("missing/log.txt"));
    choose(unreachable);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Log file");
    EXPECT_EQ(window().station().data_file, QString());

    choose(path);
    EXPECT_EQ(dialogs.questions.back().text,
              "Do you want to log the data in this file?\r\n" + QDir::toNativeSeparators(path));
    EXPECT_TRUE(find<QLabel>("lb_nnn")->font().bold());
    EXPECT_EQ(find<QLabel>("lb_log_status")->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    sampleTo(5);
    EXPECT_EQ(text("lb_nnn"), " Data logged: 5");
    choose(std::nullopt);
    choose(QString());
    dialogs.answerYes = false;
    choose(dir.filePath(QStringLiteral("other.txt")));
    dialogs.answerYes = true;
    choose(unreachable);
    EXPECT_EQ(dialogs.saveRequests.back().initialPath, path);
    EXPECT_EQ(dialogs.questions.size(), 4u);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("other.txt"))));
    EXPECT_EQ(window().station().data_file, path);

    files->failAppend = true;
    sampleTo(20);
    const QString failing =
        "Log failing! No space left on device: " + QDir::toNativeSeparators(path);
    EXPECT_EQ(text("lb_log_status"), failing);
    EXPECT_TRUE(find<QLabel>("lb_log_status")->toolTip().contains("No space left on device"));
    // Too long for the narrow line: its beginning shows, not the end of the path.
    EXPECT_EQ(find<QLabel>("lb_log_status")->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    setInterval("0.0004");
    EXPECT_EQ(text("lb_log_status"), failing + "; Sampling interval 0 s: nothing is logged");
    EXPECT_EQ(dialogs.messages.size(), 2u);
    dialogs.chosenFiles.push_back(std::nullopt);
    window().close();
    EXPECT_EQ(dialogs.saveRequests.back().title, "Save the log lines that could not be written");
    EXPECT_EQ(dialogs.messages.size(), 3u);
}

}  // namespace
