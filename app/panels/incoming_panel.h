#pragma once

#include <QByteArray>

#include "app/panels/panel.h"
#include "input/incoming_text.h"

// The incoming-data box Text4: what the instrument sends, as it comes or as each poll finds it.
class IncomingPanel : public Panel {
public:
    explicit IncomingPanel(const PanelContext& context);

private:
    void showIncoming(const QByteArray& bytes);
    void showPolled(const QByteArray& block);

    IncomingText incomingText_;
};
