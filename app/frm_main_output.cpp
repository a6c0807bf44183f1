#include "app/frm_main.h"
#include "app/ui_frm_main.h"

void frm_main::setUpOutput() {}
