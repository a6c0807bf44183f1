#pragma once

#include "app/panels/panel.h"

class QLineEdit;

// The options beyond the port texts: when readings count as stale, whether only fresh readings
// are sent, whether what runs is resumed after a restart, how an ASCII instrument's records are
// read, the pressure of a probe without a sensor, and whether the log starts a file each day.
class OptionsPanel : public Panel {
public:
    explicit OptionsPanel(const PanelContext& context);

private:
    void applyStaleLimit();
    void chooseRecords(int index);
    void applyFixedPressure();
    // The box shows the value in force again, before the message that says why.
    void refuse(QLineEdit* box, const QString& inForce, const QString& why);
};
