#pragma once

#include <QWidget>
#include <vector>

#include "app/station/services.h"

namespace Ui {
class frm_main;
}
class Station;
class Panel;
class LogPanel;
class SettingsNotices;

// The main window: the form with every control, and the panels that bind each of its sections
// to the station it holds, which is the running program.
class frm_main : public QWidget {
    Q_OBJECT
public:
    explicit frm_main(const Services& services, QWidget* parent = nullptr);
    ~frm_main() override;

    Station& station() { return *station_; }

    // Ends the program as closing the window does, but asks nothing: for a signal or the end of
    // the desktop session, when nobody may be there to answer.
    void endUnattended();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void load();
    void holdHeight();

    Ui::frm_main* ui;
    Station* station_;
    std::vector<Panel*> panels_;
    LogPanel* logPanel_ = nullptr;
    SettingsNotices* notices_ = nullptr;
    bool unattended_ = false;
};
