#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "app/frm_main.h"
#include "app/station/station.h"
#include "platform/mapped_port.h"
#include "platform/timer.h"
#include "support/fake_dialogs.h"
#include "support/station_fixture.h"

// The main window shown offscreen, its dialogs answered by FakeDialogs and its ports FakePorts
// unless the test chooses real ones.
class WindowTest : public FakeServicesTest {
protected:
    WindowTest() { services.dialogs = &dialogs; }
    ~WindowTest() override { window_.reset(); }

    // Ports on real devices; call before the window is first used.
    void useRealPorts() {
        services.makePort = [](QObject* parent) { return new MappedPort(parent); };
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

    // The main window's own control: the coefficient window's boxes share some names.
    template <typename T>
    T* find(const char* name) {
        for (T* child : window().findChildren<T*>(QString::fromLatin1(name))) {
            const auto* widget = qobject_cast<QWidget*>(child);
            if (!widget || widget->window() == &window()) {
                return child;
            }
        }
        ADD_FAILURE() << "no control " << name;
        return nullptr;
    }
    // The text of a line edit, label or plain text box.
    QString text(const char* name) {
        QWidget* control = find<QWidget>(name);
        auto* box = qobject_cast<QPlainTextEdit*>(control);
        return box ? box->toPlainText() : control->property("text").toString();
    }
    void type(const char* box, const QString& text) { find<QLineEdit>(box)->setText(text); }
    void click(const char* button) { find<QPushButton>(button)->click(); }
    // A mouse click on the option's round button, where a user clicks.
    void choose(const char* option) {
        auto* radio = find<QRadioButton>(option);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }

    // The instrument connected, its first line break framing the records after it.
    void connectInput() {
        click("Command3");
        receive("\r\n");
    }
    // One record reaches Com_in.
    void record(const char* conductivity, const char* pressure, const char* temperature) {
        receive(recordLine(conductivity, pressure, temperature));
    }
    void receive(const QByteArray& bytes) { deliver(find<SerialPort>("Com_in"), bytes); }

    FakeDialogs dialogs;

private:
    std::unique_ptr<frm_main> window_;
};
