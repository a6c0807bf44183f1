#include "input/frm_sst.h"

#include "input/ui_frm_sst.h"

frm_sst::frm_sst(QWidget* parent) : QWidget(parent, Qt::Window), ui(new Ui::frm_sst) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
}

frm_sst::~frm_sst() {
    delete ui;
}
