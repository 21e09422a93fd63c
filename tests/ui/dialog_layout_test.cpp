// The configuration dialog is laid out from its template: size, places, texts, tab order, panes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "res/dialog_template.h"
#include "tests/ui/dialog_driver.h"

namespace {

using dialog_testing::InspectableDialog;
using dialog_testing::RunModal;

class DialogLayoutTest : public testing::Test {
 protected:
  void SetUp() override { dialog_testing::ResetInstalledList(); }
};

TEST_F(DialogLayoutTest, WidgetsSitWhereTheTemplatePutsThemInTabOrder) {
  InspectableDialog dialog;
  RunModal(dialog, [&] {
    const DialogTemplate& config = *FindDialogTemplate(IDD_CONFIG);
    const DialogBaseUnits base = dialog.BaseUnits();
    ASSERT_GT(base.averageCharWidth, 0);
    EXPECT_EQ(dialog.windowTitle(), "Configuration - Mirovex 2.0");
    const PixelRect client = DialogUnitsToPixels(config.rect, base);
    EXPECT_EQ(dialog.size(), QSize(client.width, client.height));

    for (const ControlTemplate& control : config.controls) {
      if (control.id == IDC_STATIC) continue;
      SCOPED_TRACE(control.id);
      const QWidget* widget = dialog.ControlById(control.id);
      ASSERT_NE(widget, nullptr);
      const PixelRect rect = DialogUnitsToPixels(control.rect, base);
      EXPECT_EQ(widget->pos(), QPoint(rect.x, rect.y));
      EXPECT_EQ(widget->width(), rect.width);
      // A list's height in the template includes its opened list.
      if (control.controlClass != ControlClass::kComboBox) {
        EXPECT_EQ(widget->height(), rect.height);
      }
    }
    EXPECT_EQ(dialog.ControlById(IDC_COMBO_SRC), &dialog.m_cbSrc);
    EXPECT_EQ(dialog.ControlById(IDC_EDIT_SRC), &dialog.m_editSrc);
    EXPECT_EQ(dialog.m_editSrc.m_nPaneId, 1);
    EXPECT_EQ(dialog.m_editDst.m_nPaneId, 2);
    const auto* arrow = dialog.findChild<QLabel*>();
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->text(), "===>");
    EXPECT_LT(arrow->x(), dialog.m_cbDst.x());
    EXPECT_GT(arrow->x(), dialog.m_cbSrc.x() + dialog.m_cbSrc.width() - 1);

    // The focus starts on OK, the default button, and Tab walks the template's order.
    auto* ok = qobject_cast<QPushButton*>(dialog.ControlById(IDOK));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_TRUE(ok->hasFocus());
    const QWidget* expectedOrder[] = {dialog.ControlById(IDCANCEL), &dialog.m_cbSrc, &dialog.m_cbDst,
                                      &dialog.m_editDst, &dialog.m_editSrc, ok};
    for (const QWidget* expected : expectedOrder) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      const QWidget* focused = QApplication::focusWidget();
      // An editable list takes the focus in its edit field.
      EXPECT_TRUE(focused == expected || focused->parentWidget() == expected);
    }

    // Panes: read-only, no wrapping, a horizontal scroll bar and no vertical one.
    for (const CEditScroll* pane : {&dialog.m_editSrc, &dialog.m_editDst}) {
      EXPECT_TRUE(pane->isReadOnly());
      EXPECT_EQ(pane->lineWrapMode(), QPlainTextEdit::NoWrap);
      EXPECT_TRUE(pane->horizontalScrollBar()->isVisible());
      EXPECT_FALSE(pane->verticalScrollBar()->isVisible());
    }
    EXPECT_TRUE(dialog.m_cbSrc.isEditable());
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
}

}  // namespace
