// The dialog run's step on Qt: starts the toolkit when the program has not, shows the dialog and
// lets it go before the conversion opens any file.
#include <QApplication>
#include <memory>

#include "platform/display.h"
#include "ui/dialog_step.h"
#include "ui/mirovex_dialog.h"

namespace {

int g_argc = 1;
char g_programName[] = "Mirovex";
char* g_argv[] = {g_programName, nullptr};

}  // namespace

int ShowConfigurationDialog(const std::string& inputPath, CodePage& source, CodePage& target,
                            std::string& failureReason) {
  std::unique_ptr<QApplication> ownApplication;
  if (QCoreApplication::instance() == nullptr) {
    // Qt's X11 back end ends the process when it finds no display, so ask first.
    if (!platform::IsDisplayAvailable(failureReason)) return -1;
    ownApplication = std::make_unique<QApplication>(g_argc, g_argv);
  } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    failureReason = "the program runs without widgets";
    return -1;
  }
  int result = -1;
  {
    CMirovexDialog dialog;
    dialog.m_nSrcCodePage = source;
    dialog.m_nDstCodePage = target;
    dialog.SetFilePath(inputPath);
    result = dialog.DoModal();
    if (result == IDOK) {
      source = dialog.m_nSrcCodePage;
      target = dialog.m_nDstCodePage;
    }
  }
  if (result == -1) failureReason = "the dialog window could not be created";
  return result;
}
