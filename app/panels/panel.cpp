#include "app/panels/panel.h"

#include <QWidget>

Panel::Panel(const PanelContext& context) : QObject(&context.window), context_(context) {}

void Panel::show(const RunSettings&) {}
