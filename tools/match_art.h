// Match pictures: the board screen, the zoom button, the who-starts wheel and the banners.
#pragma once

#include <string>

namespace qv::tools {

// Board and zoom button; the 24 wheel frames; the text banners. False on failure.
bool WriteMatchPictures(const std::string& root);

}  // namespace qv::tools
