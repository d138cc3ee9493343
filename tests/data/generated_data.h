// The data set the data tests look at: generated once per test program into a
// temporary folder that is removed at exit.
#pragma once

#include <string>

namespace datatest {

// The folder holding vko01/ and vkobgm/, or "" when the generator failed.
const std::string& GeneratedDataDir();

}  // namespace datatest
