#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <memory>

#include "app/frm_main.h"
#include "platform/qt_serial_port.h"
#include "support/fake_dialogs.h"
#include "support/fake_port.h"

// The main window shown offscreen, its dialogs answered by FakeDialogs and its ports FakePorts
// recording into `journal` unless the test chooses real ones. Every test starts from an empty
// settings store and the C locale, whatever the test before it left behind.
class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        startAfresh();
        services.dialogs = &dialogs;
        services.makePort = [this](QObject* parent) { return new FakePort(parent, &journal); };
    }
    ~WindowTest() override {
        window_.reset();
        startAfresh();
    }

    // Ports on real devices; call before the window is first used.
    void useRealPorts() {
        services.makePort = [](QObject* parent) { return new QtSerialPort(parent); };
    }
    // Created on first use, so that a test can prepare the store and the services first.
    frm_main& window() {
        if (!window_) {
            window_ = std::make_unique<frm_main>(services);
            window_->show();
        }
        return *window_;
    }
    // Drops the window, as when the program ends; the next window() starts it afresh.
    void closeWindow() { window_.reset(); }

    template <typename T>
    T* find(const char* name) {
        T* child = window().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    // The text of a line edit, label or plain text box.
    QString text(const char* name) {
        if (auto* edit = window().findChild<QLineEdit*>(QString::fromLatin1(name))) {
            return edit->text();
        }
        if (auto* box = window().findChild<QPlainTextEdit*>(QString::fromLatin1(name))) {
            return box->toPlainText();
        }
        return find<QLabel>(name)->text();
    }
    void type(const char* box, const QString& text) { find<QLineEdit>(box)->setText(text); }
    void click(const char* button) { find<QPushButton>(button)->click(); }
    // A mouse click on the option's round button, where a user clicks.
    void choose(const char* option) {
        auto* radio = find<QRadioButton>(option);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }

    FakeDialogs dialogs;
    QStringList journal;
    Services services;

private:
    // An empty settings store and the C locale.
    static void startAfresh() {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Sondrel", "Sondrel").clear();
        QLocale::setDefault(QLocale::c());
    }

    std::unique_ptr<frm_main> window_;
};
