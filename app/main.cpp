// Mirovex: converts a text file from one code page to another, line by line.
#include "app/dialog_from_module.h"
#include "app/run.h"

int main(int argc, char** argv) {
  return RunMirovex(argc, argv, ShowConfigurationDialogFromModule);
}
