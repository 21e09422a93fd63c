// Drives the dialogs as a user would: runs them modally and acts while their loop runs.
#pragma once

#include <QComboBox>
#include <QMenu>
#include <functional>
#include <string>
#include <vector>

#include "ui/mirovex_dialog.h"

namespace dialog_testing {

// The configuration dialog with its state open to the tests.
class InspectableDialog : public CMirovexDialog {
 public:
  using CMirovexDialog::m_cbDst;
  using CMirovexDialog::m_cbSrc;
  using CMirovexDialog::m_editDst;
  using CMirovexDialog::m_editSrc;
  using CMirovexDialog::m_nDstMaxLen;
  using CMirovexDialog::m_nDstMaxWidth;
  using CMirovexDialog::m_nSrcMaxLen;
  using CMirovexDialog::m_nSrcMaxWidth;
  using CMirovexDialog::m_strDstText;
  using CMirovexDialog::m_strSrcText;
  using CMirovexDialog::m_vecSampleLines;
};

// Every dialog fills the catalogue's installed list anew; start each from an empty one.
void ResetInstalledList();

// Runs `action` once the next modal loop (a dialog's or a menu's) is running.
void WhenNextLoopRuns(std::function<void()> action);

// Makes the window the active one, which gets the keyboard input.
void Activate(QWidget& window);

// Runs the dialog modally and `whileOpen` inside its loop; a dialog that `whileOpen` leaves open
// is cancelled and fails the test. Returns DoModal's result.
int RunModal(TemplateDialog& dialog, const std::function<void()>& whileOpen);

// The popup menu that is open, or nullptr.
QMenu* OpenMenu();
// Texts of the menu's entries; separators as "-".
std::vector<QString> MenuTexts(const QMenu& menu);
// Clicks the entry whose text starts with `text`.
void ClickMenuEntry(QMenu& menu, const QString& text);

// Opens the list with a click and clicks the entry at `position`.
void PickWithMouse(QComboBox& list, int position);

// The display strings of the installed list as the lists show them.
std::vector<QString> InstalledNames();
std::vector<QString> Entries(const QComboBox& list);

// Lines of a pane as it shows them.
QStringList PaneLines(const QPlainTextEdit& pane);

// The sample converted as the target pane's text must hold it.
std::string ExpectedTargetText(const std::vector<std::string>& lines, CodePage source,
                               CodePage target);

}  // namespace dialog_testing
