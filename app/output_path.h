#pragma once

#include <string>

// The input path with ".cvt" inserted before its last "." (directories included); in front of the
// whole path when it has none.
std::string MakeOutputPath(const std::string& inputPath);
