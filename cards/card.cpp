// The card value: powers, pictures, drawing, the boss's special cards and the
// announce of a card that changes hands.
#include "cards/card.h"

#include "cards/card_database.h"
#include "engine/banners.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/effects.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/install_dir.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"

namespace qv {

namespace {

struct Band {
    int x, y, width, height;
};
constexpr Band kBands[2] = {{1, 35, 30, 13}, {6, 105, 84, 37}};

constexpr int8_t kBandTint[2][3] = {{120, 60, 60}, {60, 60, 120}};

constexpr int kIconX[2][8] = {{12, 23, 23, 23, 12, 2, 2, 2}, {44, 80, 80, 80, 44, 10, 10, 10}};
constexpr int kIconY[2][8] = {{2, 2, 19, 41, 41, 41, 19, 2}, {10, 10, 54, 92, 92, 92, 54, 10}};

}  // namespace

void Card::SetPower(int power, int direction) {
    if (direction < 0 || direction >= kDirectionCount) return;
    powers_ |= (static_cast<uint32_t>(power) & 7u) << (3 * direction);
}

int Card::GetPower(int direction) const {
    if (direction < 0 || direction >= kDirectionCount) return 0;
    return static_cast<int>((powers_ >> (3 * direction)) & 7u);
}

void Card::LoadPicture(int size) {
    // A card without a name (a special card read back from a save, an id
    // outside the database) has no picture file: stay empty, silently.
    if (name_.empty()) return;
    if (size == kCardBig) {
        qv::LoadPicture(gInstallDir + u"GFX\\CARDS\\SET 1\\CARDS BIG\\BIG_" + name_ + u".QVG", big_, true);
    } else {
        qv::LoadPicture(gInstallDir + u"GFX\\CARDS\\SET 1\\CARDS SMALL\\" + name_ + u".QVG", small_, true);
    }
}

void Card::FreePicture(int size) {
    Picture& picture = size == kCardBig ? big_ : small_;
    qv::FreePicture(picture);
    picture.height = 0;
    picture.width = 0;
}

void Card::Draw(int x, int y, int size, int buffer, int side) const {
    const int s = size == kCardBig ? 1 : 0;
    const auto target = static_cast<int8_t>(buffer);
    BlitPicture(x, y, GetPicture(size), target);
    if (side == 0 || side == 1) {
        const Band& band = kBands[s];
        TintRect(x + band.x, y + band.y, band.width, band.height, kBandTint[side][0],
                 kBandTint[side][1], kBandTint[side][2], target);
    }
    for (int d = 0; d < kDirectionCount; ++d) {
        const int power = GetPower(d);
        // Powers 6 and 7 have no icon.
        if (power >= 1 && power <= 5) BlitPicture(x + kIconX[s][d], y + kIconY[s][d], gCardIcons[power], target);
    }
}

void Card::MakeSpecial(int power) {
    powers_ = 0;
    for (int d = 0; d < kDirectionCount; ++d) SetPower(power, d);
    level_ = kSpecialCardLevel;
    name_ = RandomCardOfLevel(1).GetName();
    id_ = static_cast<int16_t>(GetCardCount() + 1 + RandomBelow(10));
}

void ShowCardAnnounce(const Card& announced, uint8_t side) {
    GreyBuffer(0);
    Card card = announced;
    card.LoadPicture(kCardBig);
    FillBuffer(0, 2);
    const int lineHeight = gFont.GetHeight();
    card.Draw(0, lineHeight + 3, kCardBig, 2, side);
    // The 96 x 150 card under a keyed strip, grabbed before the zoom uses
    // buffer 2 for its background.
    Picture grabbed;
    GrabRect(grabbed, 0, 0, 96, lineHeight + 153, 2);
    ZoomPicture(72, 60, 0, 1, kBannerZoomStep, grabbed);
    card.FreePicture(kCardBig);
    FreePicture(grabbed);
    FlushInputQueue();
}

}  // namespace qv
