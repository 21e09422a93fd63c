// The font of a dialog template and the dialog base units that come from it.
#pragma once

#include <QFont>

#include "res/dialog_template.h"
#include "res/dialog_units.h"

// The template's font. "MS Shell Dlg" is Windows' alias for its dialog font; where that font is
// missing, the alias falls back to a common sans serif of the same kind.
QFont DialogFontOf(const DialogFont& font);

// Windows' base units for this font: the average width of the letters and the font's height.
DialogBaseUnits BaseUnitsOf(const QFont& font);
