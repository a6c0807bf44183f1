#pragma once

#include "app/panels/panel.h"

struct InstrumentReading;

// The five value labels: each reading's texts, the computed salinity and sound velocity, and a
// look that tells values not to be relied on.
class ValuesPanel : public Panel {
public:
    explicit ValuesPanel(const PanelContext& context);

private:
    void showReading(const InstrumentReading& reading);
    void showSalinity();
    void showSoundVelocity();
    void showTrust();

    bool doubtful_ = false;
};
