#include "ui/template_controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace {

bool Has(std::uint32_t style, std::uint32_t bits) { return (style & bits) == bits; }

// The bound member when there is one of the right class, else a new widget owned by the dialog.
template <typename Widget>
Widget* BoundOrNew(QWidget* bound, QWidget* dialog) {
  if (auto* widget = qobject_cast<Widget*>(bound)) return widget;
  return new Widget(dialog);
}

QString TextOf(const ControlTemplate& control) {
  return QString::fromUtf8(control.text.data(), static_cast<qsizetype>(control.text.size()));
}

QWidget* MakeButton(const ControlTemplate& control, QWidget* bound, QWidget* dialog) {
  auto* button = BoundOrNew<QPushButton>(bound, dialog);
  button->setText(TextOf(control));
  button->setDefault(Has(control.style, kBsDefPushButton));
  return button;
}

QWidget* MakeStatic(const ControlTemplate& control, QWidget* bound, QWidget* dialog) {
  auto* label = BoundOrNew<QLabel>(bound, dialog);
  label->setText(TextOf(control));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QWidget* MakeComboBox(const ControlTemplate& control, QWidget* bound, QWidget* dialog) {
  auto* combo = BoundOrNew<QComboBox>(bound, dialog);
  if (Has(control.style, kCbsDropDown)) {
    combo->setEditable(true);
    // Typed text is only text: it neither becomes an entry nor picks one.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    // Entries wider than the list are cut at their end, as Windows cuts them.
    combo->view()->setTextElideMode(Qt::ElideRight);
    // Like a Windows combo box, the field shows the start of a chosen entry, not its end.
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo] {
      if (combo->lineEdit() != nullptr) combo->lineEdit()->setCursorPosition(0);
    });
  }
  return combo;
}

QWidget* MakeEdit(const ControlTemplate& control, QWidget* bound, QWidget* dialog) {
  auto* edit = BoundOrNew<QPlainTextEdit>(bound, dialog);
  edit->setPlainText(TextOf(control));
  if (Has(control.style, kEsReadOnly)) {
    edit->setReadOnly(true);
    // A read-only edit control still has a caret that the keys move.
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  }
  if (Has(control.style, kEsAutoHScroll)) edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setHorizontalScrollBarPolicy(Has(control.style, kWsHScroll) ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAlwaysOff);
  edit->setVerticalScrollBarPolicy(Has(control.style, kWsVScroll) ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAlwaysOff);
  if (control.extendedStyle != 0 || Has(control.style, kWsBorder)) {
    edit->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  }
  return edit;
}

}  // namespace

QWidget* CreateTemplateControl(const ControlTemplate& control, QWidget* bound, QWidget* dialog,
                               const DialogBaseUnits& base) {
  QWidget* widget = nullptr;
  switch (control.controlClass) {
    case ControlClass::kButton: widget = MakeButton(control, bound, dialog); break;
    case ControlClass::kStatic: widget = MakeStatic(control, bound, dialog); break;
    case ControlClass::kComboBox: widget = MakeComboBox(control, bound, dialog); break;
    case ControlClass::kEdit: widget = MakeEdit(control, bound, dialog); break;
  }
  widget->setParent(dialog);
  widget->setFocusPolicy(Has(control.style, kWsTabStop) ? Qt::StrongFocus : Qt::NoFocus);

  const PixelRect rect = DialogUnitsToPixels(control.rect, base);
  if (control.controlClass == ControlClass::kComboBox) {
    // The template's height covers the edit field and the opened list: the field takes its
    // natural height and the list shows as many entries as fit in the rest.
    auto* combo = static_cast<QComboBox*>(widget);
    const int fieldHeight = combo->sizeHint().height();
    const int entryHeight = std::max(1, QFontMetrics(combo->font()).height());
    combo->setMaxVisibleItems(std::max(1, (rect.height - fieldHeight) / entryHeight));
    widget->setGeometry(rect.x, rect.y, rect.width, fieldHeight);
  } else {
    widget->setGeometry(rect.x, rect.y, rect.width, rect.height);
  }
  widget->show();
  return widget;
}
