#include "tests/ui/dialog_driver.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "codepage/installed_list.h"
#include "codepage/transcoder.h"

namespace dialog_testing {

void ResetInstalledList() {
  g_InstalledNames.clear();
  g_InstalledIndex.clear();
}

void WhenNextLoopRuns(std::function<void()> action) {
  QTimer::singleShot(0, qApp, std::move(action));
}

void Activate(QWidget& window) {
  // The offscreen platform does not activate a window that is shown; a window system would.
  QApplication::setActiveWindow(&window);
}

int RunModal(TemplateDialog& dialog, const std::function<void()>& whileOpen) {
  WhenNextLoopRuns([&dialog, &whileOpen] {
    Activate(dialog);
    whileOpen();
    if (dialog.isVisible()) {
      ADD_FAILURE() << "the dialog was left open";
      dialog.reject();
    }
  });
  return dialog.DoModal();
}

QMenu* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

std::vector<QString> MenuTexts(const QMenu& menu) {
  std::vector<QString> texts;
  for (const QAction* action : menu.actions()) {
    texts.push_back(action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  return texts;
}

void ClickMenuEntry(QMenu& menu, const QString& text) {
  for (QAction* action : menu.actions()) {
    if (!action->isSeparator() && action->text().startsWith(text)) {
      QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(action).center());
      return;
    }
  }
  ADD_FAILURE() << "no menu entry " << text.toStdString();
  menu.close();
}

void PickWithMouse(QComboBox& list, int position) {
  // The arrow at the right end of the field opens the list.
  QTest::mouseClick(&list, Qt::LeftButton, {}, QPoint(list.width() - 5, list.height() / 2));
  QAbstractItemView* view = list.view();
  ASSERT_TRUE(view->isVisible()) << "the list did not open";
  const QModelIndex index = list.model()->index(position, 0);
  view->scrollTo(index);
  const QPoint center = view->visualRect(index).center();
  // The list takes a release only after the pointer has moved away from the opening click, and a
  // move to where the pointer already is (as after an earlier pick) is no move: go there in two.
  QTest::mouseMove(view->viewport(), QPoint(1, 1));
  QTest::mouseMove(view->viewport(), center);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, center);
}

std::vector<QString> InstalledNames() {
  std::vector<QString> names;
  for (const std::string& name : g_InstalledNames) names.push_back(QString::fromStdString(name));
  return names;
}

std::vector<QString> Entries(const QComboBox& list) {
  std::vector<QString> entries;
  for (int i = 0; i < list.count(); ++i) entries.push_back(list.itemText(i));
  return entries;
}

QStringList PaneLines(const QPlainTextEdit& pane) {
  return pane.toPlainText().split(QLatin1Char('\n'));
}

std::string ExpectedTargetText(const std::vector<std::string>& lines, CodePage source,
                               CodePage target) {
  std::string text;
  for (const std::string& line : lines) text += ConvertCodePage(line, source, target) + "\r\n";
  return text;
}

}  // namespace dialog_testing
