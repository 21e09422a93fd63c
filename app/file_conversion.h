#pragma once

#include <string>

#include "codepage/code_page.h"

// Converts the input file line by line from `source` to `target` into the output file. The output
// appears only when it is complete; an existing output file is replaced then, and left as it was
// when the run fails. Throws RunFailure with the exit code and message of a failure.
void ConvertFile(const std::string& inputPath, const std::string& outputPath, CodePage source,
                 CodePage target);
