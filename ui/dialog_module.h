// The one function the dialog module exports, and its name.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define MIROVEX_DIALOG_EXPORT __declspec(dllexport)
#else
#define MIROVEX_DIALOG_EXPORT __attribute__((visibility("default")))
#endif

inline constexpr const char* kDialogModuleName = "mirovex_dialog";
inline constexpr const char* kDialogFunctionName = "MirovexShowConfigurationDialog";

// Shows the configuration dialog as ShowConfigurationDialog does; the reason for -1 is written,
// NUL-terminated and cut to fit, into `failureReason`.
using DialogModuleFunction = int (*)(const char* inputPath, std::uint32_t* source,
                                     std::uint32_t* target, char* failureReason,
                                     std::size_t reasonSize);
