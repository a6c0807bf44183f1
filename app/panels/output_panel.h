#pragma once

#include "app/panels/panel.h"

// The output: its port boxes, the telegram's choice, the send interval, the lamp, "Start
// Connection" and "Stop Sending", UDP beside the serial port, and the output status line.
class OutputPanel : public Panel {
public:
    explicit OutputPanel(const PanelContext& context);

    // The port boxes as stored, the telegram and the send interval as `run` chooses them.
    void show(const RunSettings& run) override;

private:
    void startOutput();
    void showStatus() const;
};
