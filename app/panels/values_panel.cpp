#include "app/panels/values_panel.h"

#include "app/station/station.h"
#include "app/ui_frm_main.h"
#include "platform/number_text.h"

namespace {

void showValue(QLabel* label, const QString& text) {
    if (!text.isEmpty()) {
        label->setText(text);
    }
}

// The palette's own colour for text that is not to be relied on, so it suits light and dark
// desktops alike.
void showDoubt(QLabel* label, bool doubtful) {
    QPalette look;
    if (doubtful) {
        look.setColor(QPalette::WindowText, look.color(QPalette::Disabled, QPalette::WindowText));
    }
    label->setPalette(look);
}

}  // namespace

ValuesPanel::ValuesPanel(const PanelContext& context) : Panel(context) {
    const Station& station = context_.station;
    connect(&station, &Station::readingStored, this, &ValuesPanel::showReading);
    connect(&station, &Station::salinityChanged, this, &ValuesPanel::showSalinity);
    connect(&station, &Station::soundVelocityChanged, this, &ValuesPanel::showSoundVelocity);
    connect(&station, &Station::trustChanged, this, &ValuesPanel::showTrust);
}

void ValuesPanel::showReading(const InstrumentReading& reading) {
    showValue(context_.ui.lb_temp, reading.temperatureText);
    showValue(context_.ui.lb_con, reading.conductivityText);
    showValue(context_.ui.lb_press, reading.pressureText);
    if (reading.complete && !context_.station.given.salinity()) {
        context_.ui.lb_salinity->setText(QStringLiteral("-"));
    }
}

void ValuesPanel::showSalinity() {
    context_.ui.lb_salinity->setText(
        number_text::formatPattern(context_.station.salinity, u"0.0000"));
}

void ValuesPanel::showSoundVelocity() {
    context_.ui.lb_sound->setText(number_text::formatGeneral(context_.station.soundvelocity));
}

void ValuesPanel::showTrust() {
    const bool doubtful = context_.station.readingTrust.doubtful(context_.station.now());
    if (doubtful == doubtful_) {
        return;
    }
    doubtful_ = doubtful;
    const Ui::frm_main& ui = context_.ui;
    for (QLabel* value : {ui.lb_temp, ui.lb_con, ui.lb_press, ui.lb_salinity, ui.lb_sound}) {
        showDoubt(value, doubtful);
    }
}
