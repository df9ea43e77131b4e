// Club pictures: the 50 panorama frames, the description band, room titles, arrows and QuickMenu.
#pragma once

#include <string>

namespace qv::tools {

inline constexpr int kPanoramaFrames = 50;
inline constexpr int kPanoramaWidth = 240, kPanoramaHeight = 210;
inline constexpr int kQuickMenuWidth = 84, kQuickMenuHeight = 134;

// Every frame carries its number (1..50) as six 2x2 blocks on rows 0-1,
// x 0..11, most significant bit first: white for 1, mid-grey for 0.
bool WriteClubPictures(const std::string& root);

}  // namespace qv::tools
