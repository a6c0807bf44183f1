#include <QDebug>
#include <exception>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
#include "input/frm_sst.h"
#include "input/sea_sun_block_text.h"
#include "input/sea_sun_decoder.h"

namespace {

QLabel* labelOf(const Ui::frm_main& ui, sea_sun::Channel channel) {
    switch (channel) {
        case sea_sun::Channel::Pressure:
            return ui.lb_press;
        case sea_sun::Channel::Temperature:
            return ui.lb_temp;
        case sea_sun::Channel::Conductivity:
            break;
    }
    return ui.lb_con;
}

}  // namespace

void frm_main::setUpSeaSun() {
    connect(ui->op_sst, &QRadioButton::clicked, this, &frm_main::showCoefficientWindow);
    connect(timer_sst, &Timer::tick, this, &frm_main::pollSeaSun);
    connect(Com_SST, &SerialPort::failed, this, &frm_main::seaSunLost);
}

// Choosing the instrument offers its port settings and its coefficient window; the settings
// reach the port only with the next "Start Connection".
void frm_main::showCoefficientWindow() {
    ui->Text2->setText(QStringLiteral("1200,O,8,1"));
    if (!coefficientWindow) {
        coefficientWindow = new frm_sst(this);
    }
    coefficientWindow->show();
    coefficientWindow->raise();
    coefficientWindow->activateWindow();
}

// One poll of the instrument: everything received since the last tick is shown raw and decoded.
// A block never carries anything over to the next tick, and a failing tick ends quietly so that
// the next one starts afresh.
void frm_main::pollSeaSun() {
    if (!Com_SST->isOpen()) {
        if (seaSunLost_ && !Com_SST->open()) {
            seaSunLost_ = false;
            qInfo().noquote() << QStringLiteral("port %1 is back").arg(Com_SST->portNumber());
            inputState_ = connectedTo(*Com_SST);
            showInputStatus();
        }
        return;
    }
    try {
        const QByteArray block = Com_SST->readAll();
        ui->Text4->setPlainText(sea_sun::blockText(block));
        const sea_sun::Decoding decoding =
            sea_sun::decode(block, bit_table, {pressure, temperature, conductivity});
        bool accepted = false;
        for (const sea_sun::Step& step : decoding.steps) {
            if (step.label) {
                labelOf(*ui, step.label->channel)->setText(step.label->text);
                accepted = true;
            }
            pressure = step.values.pressure;
            conductivity = step.values.conductivity;
            temperature = step.values.temperature;
            con2sal();
            sv();
        }
        // A tick counts as a reading only when the instrument sent a value worth taking.
        if (accepted) {
            noteReading(false);
        }
    } catch (const std::exception&) {
        // Whatever was stored before the failure stays; the rest of the block is dropped.
    }
}

// An unplugged adapter or a switched-off instrument; the port is already closed.
void frm_main::seaSunLost(const PortError& error) {
    qWarning().noquote() << error.reason << QStringLiteral("- retrying every second");
    seaSunLost_ = true;
    inputState_ = ConnectionState::reconnecting();
    showInputStatus();
}
