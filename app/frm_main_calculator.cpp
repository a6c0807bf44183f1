#include <QLabel>
#include <QLineEdit>
#include <array>

#include "app/frm_main.h"
#include "app/ui_frm_main.h"
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

}  // namespace

void frm_main::calculate() {
    const auto typed = readBoxes<3>(
        {{{ui->tx_pre, ui->Label23}, {ui->tx_temp, ui->Label22}, {ui->tx_cond, ui->Label25}}},
        *services_.dialogs, windowTitle());
    if (!typed) {
        return;
    }
    const auto [pressureDbar, typedTemperature, conductivityMsCm] = *typed;
    pressure = pressureDbar / 10;
    temperature = typedTemperature;
    conductivity = conductivityMsCm / 10;
    con2sal();
    sv();
    noteReading(true);
    ui->Label24->setText(number_text::formatGeneral(soundvelocity));
}

void frm_main::testEntry() {
    const auto typed = readBoxes<1>({{{ui->Text1, nullptr}}}, *services_.dialogs, windowTitle());
    if (!typed) {
        return;
    }
    pressure = 1;
    temperature = 15;
    conductivity = (*typed)[0];
    ui->lb_temp->setText(number_text::formatGeneral(temperature));
    ui->lb_press->setText(number_text::formatGeneral(pressure));
    ui->lb_con->setText(number_text::formatGeneral(conductivity));
    con2sal();
    sv();
    noteReading(true);
}
