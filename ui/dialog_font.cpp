#include "ui/dialog_font.h"

#include <QFontMetrics>
#include <QStringList>

QFont DialogFontOf(const DialogFont& font) {
  const QString face = QString::fromUtf8(font.face.data(), static_cast<qsizetype>(font.face.size()));
  QFont::insertSubstitutions(QStringLiteral("MS Shell Dlg"),
                             {QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Tahoma"),
                              QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
  QFont result(face);
  result.setPointSize(font.pointSize);
  result.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
  result.setItalic(font.italic);
  return result;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int alphabetWidth = metrics.horizontalAdvance(QString::fromLatin1(kDialogUnitAlphabet));
  return {AverageCharWidthFromAlphabet(alphabetWidth), metrics.height()};
}
