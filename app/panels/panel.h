#pragma once

class Dialogs;
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
