#pragma once

#include "app/panels/panel.h"

// The options beyond the port texts: when readings count as stale, whether only fresh readings
// are sent, and whether what runs is resumed after a restart.
class OptionsPanel : public Panel {
public:
    explicit OptionsPanel(const PanelContext& context);

private:
    void applyStaleLimit();
};
