// The statistics page of the options screen: collection, perfects and, per
// level, victories, ties, defeats and tournaments.
#include "cards/card_database.h"
#include "cards/profile.h"
#include "cards/statistics.h"
#include "club/options_screen.h"
#include "engine/message_box.h"
#include "engine/utilities.h"

namespace qv {

namespace {

// The level's counter summed over its 15 opponents in 16 bits, as stored.
int16_t LevelSum(const int16_t* counters, int level) {
    uint16_t sum = 0;
    for (int index = 0; index < kOpponentsPerLevel; ++index) {
        sum = static_cast<uint16_t>(sum + static_cast<uint16_t>(counters[index * 3 + level]));
    }
    return static_cast<int16_t>(sum);
}

}  // namespace

WString StatisticsText() {
    static const char16_t* const kTitles[kLevelCount] = {u"Guest", u"Member", u"Elite"};
    WString text = u"Statistics";
    text += u" for ";
    text += gProfile.GetName() + u"\n" + u"\n";
    text += u"Cards Total       :" + FormatShort(gProfile.GetTotalCards()) + u"\n";
    text += u"Cards Collection  :" + FormatShort(static_cast<int16_t>(gProfile.CountDistinct())) + u" on " +
            FormatShort(GetCardCount());
    text += u"\nPerfects realised  :" + FormatShort(gPerfectsRealised) + u"\n";
    text += u"Perfects received  :" + FormatShort(gPerfectsReceived) + u"\n" + u"\n";
    for (int level = 0; level < kLevelCount; ++level) {
        text += WString(kTitles[level]) + u"\n";
        text += u"          Victories : " + FormatShort(LevelSum(gGamesWon, level)) + u"\n";
        text += u"          Ties       : " + FormatShort(LevelSum(gGamesTied, level)) + u"\n";
        text += u"          Defeats  : " + FormatShort(LevelSum(gGamesLost, level)) + u"\n";
        text += u"          Tourneys Played : " + FormatShort(gTourneysPlayed[level]) + u"\n";
        text += u"          Tourneys Won     : " + FormatShort(gTourneysWon[level]) + u"\n" + u"\n";
    }
    return text;
}

void ShowStatistics() { ShowMessageBox(StatisticsText(), u"", u"Ok", 1, 30, 10, 180, 300, 20, 3, 3); }

}  // namespace qv
