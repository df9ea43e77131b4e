// The steps that build the installation directory, in order.
#include "tools/asset_steps.h"

#include <filesystem>

#include "tools/card_art.h"
#include "tools/card_set.h"
#include "tools/club_art.h"
#include "tools/match_art.h"
#include "tools/opponents.h"
#include "tools/people_art.h"
#include "tools/pixel_font.h"
#include "tools/screen_kit.h"
#include "tools/sounds.h"
#include "tools/startup_art.h"
#include "tools/tunes.h"

namespace qv::tools {
namespace {

bool MakeSaveFolder(const std::string& root) {
    std::error_code error;
    std::filesystem::create_directories(root + "/SAVE", error);
    return !error;
}

}  // namespace

const std::vector<AssetStep>& AssetSteps() {
    static const std::vector<AssetStep> kSteps = {
        {"the save folder", MakeSaveFolder},
        {"the card database", WriteCardDatabase},
        {"the opponents", WriteOpponentFile},
        {"the font", WriteFontPicture},
        {"the start-up pictures", WriteStartupPictures},
        {"the card pictures", WriteCardPictures},
        {"the match pictures", WriteMatchPictures},
        {"the club pictures", WriteClubPictures},
        {"the people", WritePeoplePictures},
        {"the club screens", WriteClubScreens},
        {"the shop and tournaments", WriteShopAndTournamentScreens},
        {"the link screens", WriteLinkScreens},
        {"the tunes", WriteTunes},
        {"the sound effects", WriteSoundEffects},
    };
    return kSteps;
}


}  // namespace qv::tools
