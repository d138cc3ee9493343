// The data set the data tests look at: generated once per test program into a
// temporary folder that is removed at exit, with only the part a test needs.
#pragma once

#include <string>

namespace datatest {

enum class Content { kPictures, kSounds, kAll };

// The folder holding vko01/ (and vkobgm/), or "" when the generator failed.
const std::string& GeneratedDataDir(Content content);

}  // namespace datatest
