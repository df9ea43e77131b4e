// How an opponent's portrait looks: the traits its texts give, and how they are drawn.
#pragma once

#include <cstdint>

namespace qv::tools {

enum class Sex : uint8_t { kWoman, kMan, kUnsaid };
enum class Age : uint8_t { kYoung, kAdult, kOld };

enum class Hair : uint8_t {
    kBald,       // nothing on top
    kBaldSides,  // a bald crown with a fringe over the ears
    kCropped,
    kShort,
    kSlick,  // combed back, with a peak
    kSpiky,
    kMohawk,
    kWild,  // a cloud round a thin top
    kCurly,
    kBob,
    kLong,
    kWavy,
    kBun,
    kPonytail,
};

enum class HairShade : uint8_t { kBlack, kBrown, kChestnut, kAuburn, kBlond, kPlatinum, kGrey, kWhite, kViolet };

enum class Headwear : uint8_t {
    kNone,
    kHeadphones,
    kFlatCap,
    kHeadband,
    kBeret,
    kPeakedCap,
    kBeanie,
    kNurseCap,
    kMinerHelmet,
    kChefHat,
    kSurgeonCap,
    kHeadscarf,
    kTiara,
    kAviator,  // leather cap with goggles
    kVisor,
    kVeil,
    kFedora,
    kCrown,
    kHood,
    kTopHat,
    kTurban,
};

enum class Mood : uint8_t { kSmile, kGrin, kCalm, kFrown, kSmirk, kSinging };

enum class Clothes : uint8_t {
    kHoodie,
    kJacket,  // open, over a tee
    kSweater,
    kSmock,
    kSuit,
    kWaistcoat,
    kUniform,
    kTunic,  // buttoned white or green work tunic
    kOveralls,
    kDress,
    kGown,  // off the shoulders
    kRobe,  // black, with a white collar
    kCape,  // high collar
    kTrenchCoat,
    kLeather,
    kLeotard,
};

// Details drawn over the face and clothes; a look holds several.
enum Extra : uint32_t {
    kGlasses = 1u << 0,
    kMonocle = 1u << 1,
    kMask = 1u << 2,
    kBeard = 1u << 3,
    kMoustache = 1u << 4,
    kStubble = 1u << 5,
    kEarrings = 1u << 6,
    kNecklace = 1u << 7,
    kBowTie = 1u << 8,
    kTie = 1u << 9,
    kFlower = 1u << 10,
    kScar = 1u << 11,
    kFreckles = 1u << 12,
    kTear = 1u << 13,
    kBeautySpot = 1u << 14,
    kTwins = 1u << 15,  // two faces side by side
};

struct PortraitLook {
    Sex sex = Sex::kUnsaid;
    Age age = Age::kAdult;
    int skin = 0;  // 0 (lightest) to 4
    Hair hair = Hair::kShort;
    HairShade shade = HairShade::kBrown;
    Headwear headwear = Headwear::kNone;
    Mood mood = Mood::kCalm;
    Clothes clothes = Clothes::kSweater;
    uint32_t clothesColour = 0x606080;  // 0xRRGGBB
    uint32_t extras = 0;

    bool Has(Extra extra) const { return (extras & extra) != 0; }
};

}  // namespace qv::tools
