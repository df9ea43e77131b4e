// Start-up pictures: the maker's logo and the scrolling loading picture.
#pragma once

#include <string>

namespace qv::tools {

// The logo (240x320) and the loading picture (480x320, dark at the top and bottom).
bool WriteStartupPictures(const std::string& root);

}  // namespace qv::tools
