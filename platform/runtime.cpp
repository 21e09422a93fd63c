#include "platform/runtime.h"

#include <clocale>

#ifndef _WIN32
#include <signal.h>
#include <unicode/ucnv.h>
#include <unicode/uclean.h>
#endif

namespace platform {

bool InitializeRuntime() {
  // Paths and displayed texts are in the user's narrow encoding, as the locale says.
  if (std::setlocale(LC_ALL, "") == nullptr) std::setlocale(LC_ALL, "C");
#ifdef _WIN32
  return true;
#else
  // Past a file size limit (ulimit -f) a write then fails with EFBIG and the run reports it like a
  // full disk, instead of SIGXFSZ ending the process and leaving a partial temporary file.
  signal(SIGXFSZ, SIG_IGN);
  UErrorCode error = U_ZERO_ERROR;
  u_init(&error);
  if (U_FAILURE(error)) return false;
  UConverter* probe = ucnv_open("UTF-8", &error);
  if (probe != nullptr) ucnv_close(probe);
  return U_SUCCESS(error);
#endif
}

}  // namespace platform
