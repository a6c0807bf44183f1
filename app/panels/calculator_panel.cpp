#include "app/panels/calculator_panel.h"

#include <array>

#include "app/station/station.h"
#include "app/ui_frm_main.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"

namespace {

struct TypedBox {
    const QLineEdit* box;
    const QLabel* caption;
};

// Reads every box before anything is stored, so that one bad entry leaves the whole reading
// untouched instead of half-updated; names the first bad box to the user.
template <std::size_t N>
std::optional<std::array<double, N>> readBoxes(const std::array<TypedBox, N>& boxes,
                                               Dialogs& dialogs, const QString& title) {
    std::array<double, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = number_text::parse(boxes[i].box->text());
        if (!value) {
            const QString name =
                boxes[i].caption ? boxes[i].caption->text() : boxes[i].box->objectName();
            dialogs.inform(title,
                           QStringLiteral("\"%1\" is not a number. Please correct the box \"%2\".")
                               .arg(boxes[i].box->text(), name));
            return std::nullopt;
        }
        values[i] = *value;
    }
    return values;
}

// Values typed by hand make a reading of their own, salinity and sound velocity computed from it.
InstrumentReading typedReading(double pressure, double temperature, double conductivity) {
    InstrumentReading reading;
    reading.pressure = pressure;
    reading.temperature = temperature;
    reading.conductivity = conductivity;
    reading.complete = true;
    reading.fresh = true;
    return reading;
}

}  // namespace

CalculatorPanel::CalculatorPanel(const PanelContext& context) : Panel(context) {
    connect(context_.ui.Command8, &QPushButton::clicked, this, &CalculatorPanel::calculate);
    connect(context_.ui.Command1, &QPushButton::clicked, this, &CalculatorPanel::testEntry);
}

void CalculatorPanel::calculate() {
    const Ui::frm_main& ui = context_.ui;
    const auto typed = readBoxes<3>(
        {{{ui.tx_pre, ui.Label23}, {ui.tx_temp, ui.Label22}, {ui.tx_cond, ui.Label25}}},
        context_.dialogs, context_.window.windowTitle());
    if (!typed) {
        return;
    }
    const auto [pressureDbar, temperature, conductivityMsCm] = *typed;
    context_.station.takeTyped(typedReading(pressureDbar / 10, temperature, conductivityMsCm / 10));
    ui.Label24->setText(number_text::formatGeneral(context_.station.soundvelocity));
}

// The test entry's pressure and temperature are fixed; the labels show all three as stored.
void CalculatorPanel::testEntry() {
    const auto typed = readBoxes<1>({{{context_.ui.Text1, nullptr}}}, context_.dialogs,
                                    context_.window.windowTitle());
    if (!typed) {
        return;
    }
    InstrumentReading reading = typedReading(1, 15, (*typed)[0]);
    reading.temperatureText = number_text::formatGeneral(*reading.temperature);
    reading.pressureText = number_text::formatGeneral(*reading.pressure);
    reading.conductivityText = number_text::formatGeneral(*reading.conductivity);
    context_.station.takeTyped(reading);
}
