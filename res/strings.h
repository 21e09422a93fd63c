// The program's own texts: the usage text, the fatal message, and the error messages of a run.
#pragma once

inline constexpr const char* kUsageLine1 = "Usage: Mirovex.exe [-C] [path]filename.\r\n";
inline constexpr const char* kUsageLine2 = "\t-C:\tshow configure dialog.\r\n";
inline constexpr const char* kFatalInitialization = "Fatal Error: MFC initialization failed\n";
inline constexpr const char* kDialogSwitch = "-C";

// Error messages on stderr: one line each, naming the file or code page and the reason.
inline constexpr const char* kMessagePrefix = "Mirovex: ";
#define MIROVEX_MSG_CANNOT_OPEN_INPUT "cannot open input file \"%s\": %s"
#define MIROVEX_MSG_CANNOT_READ_INPUT "cannot read input file \"%s\": %s"
#define MIROVEX_MSG_NUL_IN_INPUT                                                              \
  "input file \"%s\" holds a NUL byte on line %llu: UTF-16, UTF-32 and binary files are not " \
  "supported"
#define MIROVEX_MSG_OUT_OF_MEMORY "input file \"%s\": out of memory near line %llu"
#define MIROVEX_MSG_SOURCE_UNUSABLE "source code page %u is not usable on this system"
#define MIROVEX_MSG_TARGET_UNUSABLE "target code page %u is not usable on this system"
#define MIROVEX_MSG_CANNOT_CREATE_OUTPUT "cannot create output file \"%s\": %s"
#define MIROVEX_MSG_CANNOT_WRITE_OUTPUT "cannot write output file \"%s\": %s"
#define MIROVEX_MSG_DIALOG_FAILED "the configuration dialog could not be shown: %s"
