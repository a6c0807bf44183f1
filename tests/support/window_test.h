#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

#include "app/frm_main.h"
#include "support/fake_dialogs.h"

// The main window shown offscreen, its dialogs answered by FakeDialogs and its ports FakePorts
// recording into `journal` unless the test chooses real ones. Every test starts from an empty
// settings store and the C locale, whatever the test before it left behind.
class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    // Ports on real devices; call before the window is first used.
    void useRealPorts();
    // Created on first use, so that a test can prepare the store and the services first.
    frm_main& window();
    // Drops the window, as when the program ends; the next window() starts it afresh.
    void closeWindow();

    template <typename T>
    T* find(const char* name) {
        T* child = window().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    // The text of a line edit, label or plain text box.
    QString text(const char* name);
    void type(const char* box, const QString& text);
    void click(const char* button);
    // A mouse click on the option's round button, where a user clicks.
    void choose(const char* option);

    FakeDialogs dialogs;
    QStringList journal;
    Services services;

private:
    std::unique_ptr<frm_main> window_;
};
