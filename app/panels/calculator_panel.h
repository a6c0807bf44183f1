#pragma once

#include "app/panels/panel.h"

// The calculator (pressure, temperature and conductivity typed in, the sound velocity shown in
// Label24) and the test entry of a conductivity below the window.
class CalculatorPanel : public Panel {
public:
    explicit CalculatorPanel(const PanelContext& context);

private:
    void calculate();
    void testEntry();
};
