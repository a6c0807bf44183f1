#include "support/window_test.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include "platform/qt_serial_port.h"
#include "support/fake_port.h"

namespace {

void clearStore() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Sondrel", "Sondrel").clear();
}

}  // namespace

WindowTest::WindowTest() {
    clearStore();
    QLocale::setDefault(QLocale::c());
    services.dialogs = &dialogs;
    services.makePort = [this](QObject* parent) { return new FakePort(parent, &journal); };
}

WindowTest::~WindowTest() {
    window_.reset();
    QLocale::setDefault(QLocale::c());
    clearStore();
}

void WindowTest::useRealPorts() {
    services.makePort = [](QObject* parent) { return new QtSerialPort(parent); };
}

frm_main& WindowTest::window() {
    if (!window_) {
        window_ = std::make_unique<frm_main>(services);
        window_->show();
    }
    return *window_;
}

void WindowTest::closeWindow() {
    window_.reset();
}

QString WindowTest::text(const char* name) {
    QObject* child = window().findChild<QObject*>(QString::fromLatin1(name));
    if (auto* edit = qobject_cast<QLineEdit*>(child)) {
        return edit->text();
    }
    if (auto* box = qobject_cast<QPlainTextEdit*>(child)) {
        return box->toPlainText();
    }
    return find<QLabel>(name)->text();
}

void WindowTest::type(const char* box, const QString& text) {
    find<QLineEdit>(box)->setText(text);
}

void WindowTest::click(const char* button) {
    find<QPushButton>(button)->click();
}

void WindowTest::choose(const char* option) {
    auto* radio = find<QRadioButton>(option);
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}
