// Builds without the dialog toolkit: the dialog run reports that it cannot show the dialog.
#include "ui/dialog_step.h"

int ShowConfigurationDialog(const std::string&, CodePage&, CodePage&, std::string& failureReason) {
  failureReason = "this build has no configuration dialog";
  return -1;
}
