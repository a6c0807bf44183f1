#pragma once

#include <QPointer>

#include "app/panels/panel.h"

class frm_sst;
struct Instrument;

// The input connection: the instrument's choice, its port boxes, "Start Connection" and the input
// status line, and the Sea & Sun coefficient window.
class InputPanel : public Panel {
public:
    explicit InputPanel(const PanelContext& context);

    // The port boxes as stored, the instrument as `run` chooses it.
    void show(const RunSettings& run) override;

private:
    // A connection that failed or is being restored matters most; while connected, what is
    // known about the readings comes before the device they come from.
    void showStatus() const;
    void offer(const Instrument& instrument);
    void startInput();

    QPointer<frm_sst> coefficientWindow_;
};
