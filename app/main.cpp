// Mirovex: converts a text file from one code page to another, line by line.
#include "app/run.h"
#include "ui/dialog_step.h"

int main(int argc, char** argv) { return RunMirovex(argc, argv, ShowConfigurationDialog); }
