#pragma once

#include <QObject>

class Dialogs;
struct RunSettings;
class QWidget;
class Station;

namespace Ui {
class frm_main;
}

// What every panel of the window binds: its own controls in the form, the station they show and
// drive, the dialogs that ask the user, and the window that owns them all.
struct PanelContext {
    Ui::frm_main& ui;
    Station& station;
    Dialogs& dialogs;
    QWidget& window;
};

// One section of the form, owned by the window. A panel binds only its own section's controls.
class Panel : public QObject {
public:
    explicit Panel(const PanelContext& context);

    // At the start: the section's controls as `run` chooses them, before it starts.
    virtual void show(const RunSettings& run);

protected:
    PanelContext context_;
};
