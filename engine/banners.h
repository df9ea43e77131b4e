// The match's modal announcements: wiped banners, zoomed notices and the
// Versus intro (the card that changes hands is with the cards).
#pragma once

#include <cstdint>

#include "engine/picture.h"
#include "platform/types.h"

namespace qv {

// Pixels the zooms of the banners grow or shrink by a frame.
inline constexpr int8_t kBannerZoomStep = 15;

// Wiped in, a pause a tap shortens (500 ms for start, 1500 ms for results),
// then zoomed away; buffer 0 is left as it was.
void ShowStartBanner();
void ShowYouWinBanner();
void ShowYouLoseBanner();
void ShowDrawBanner();
void ShowPerfectBanner();
// Zoomed in over the board, 350 ms, zoomed away; buffer 0 is left as it was.
void ShowMultiHitBanner();
void ShowCardTakenBanner();
// The two names slide in beside the Versus picture, which zooms down from
// three times its size; all stay in buffer 0.
void PlayVersusIntro(const WString& firstName, const WString& secondName);
// Wipes the picture in at row y, bands closing from both sides; ends with
// buffer 0 clean while the display still shows the whole banner.
void WipeInBanner(const Picture& picture, int16_t y);

}  // namespace qv
