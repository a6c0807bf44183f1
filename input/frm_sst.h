#pragma once

#include <QWidget>

namespace Ui {
class frm_sst;
}

// The Sea & Sun calibration-coefficient window. It only shows its boxes and buttons: the
// decoder works with its own fixed coefficients, and nothing reads the boxes. Closing it
// discards it, so the next showing starts again from the form's texts.
class frm_sst : public QWidget {
    Q_OBJECT
public:
    explicit frm_sst(QWidget* parent = nullptr);
    ~frm_sst() override;

private:
    Ui::frm_sst* ui;
};
