// Turns one control of a dialog template into a widget: its class, text, place and styles.
#pragma once

#include "res/dialog_template.h"
#include "res/dialog_units.h"

class QWidget;

// Places `control` (created here when `bound` is null, else the bound member widget) on `dialog`
// as the template describes it. Returns the widget.
QWidget* CreateTemplateControl(const ControlTemplate& control, QWidget* bound, QWidget* dialog,
                               const DialogBaseUnits& base);
