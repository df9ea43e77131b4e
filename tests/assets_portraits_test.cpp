// Each opponent's portrait fits what the texts of the generated OPPONENTS.DAT
// say of that person. The texts are read back with the game's own reader; the
// traits come from the builder's table, the one its portraits are drawn from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>

#include "cards/opponents.h"
#include "cards/statistics.h"
#include "engine/install_dir.h"
#include "engine/wstring.h"
#include "tests/support/headless.h"
#include "tests/support/screen.h"
#include "tools/opponents.h"

namespace qv {
namespace {

using tools::Hair;
using tools::Headwear;
using tools::Mood;
using tools::PortraitLook;

// The words of a text, in lower case.
std::set<std::string> Words(const std::string& text) {
    std::set<std::string> words;
    std::string word;
    for (char c : text + " ") {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!word.empty()) {
            words.insert(word);
            word.clear();
        }
    }
    return words;
}

bool AnyOf(const std::set<std::string>& words, std::initializer_list<const char*> wanted) {
    return std::any_of(wanted.begin(), wanted.end(), [&](const char* w) { return words.count(w) != 0; });
}

// What a woman's portrait shows besides the lips and lashes every woman gets:
// hair worn long, up or in a bob, or covered by a veil or scarf; no beard.
bool LooksLikeAWoman(const PortraitLook& look) {
    const bool hair = look.hair == Hair::kBob || look.hair == Hair::kLong || look.hair == Hair::kWavy ||
                      look.hair == Hair::kBun || look.hair == Hair::kPonytail || look.hair == Hair::kCurly;
    const bool covered = look.headwear == Headwear::kVeil || look.headwear == Headwear::kHeadscarf;
    return look.sex == tools::Sex::kWoman && (hair || covered) && !look.Has(tools::kBeard) &&
           !look.Has(tools::kMoustache) && !look.Has(tools::kStubble);
}

bool LooksLikeAMan(const PortraitLook& look) {
    const bool womansHair = look.hair == Hair::kBob || look.hair == Hair::kLong || look.hair == Hair::kWavy ||
                            look.hair == Hair::kBun || look.hair == Hair::kPonytail;
    return look.sex == tools::Sex::kMan && !womansHair;
}

class OpponentPortraits : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        test::StartHeadless(test::ProcessTempDir("assets-portraits"));
        test::OpenScreen();
        gInstallDir = test::HandheldPath(QV_INSTALL_DIR) + u"\\";
        LoadOpponents();
    }
};

TEST_F(OpponentPortraits, EachFitsTheSexAgeAndStyleItsTextsGive) {
    int women = 0, men = 0, old = 0;
    for (int level = 0; level < 3; ++level) {
        for (int index = 0; index < 15; ++index) {
            const CharacterSummary& s = gOpponents[StatisticsIndex(index, level)].GetCharacter();
            const std::string text =
                Narrow(s.name + u" " + s.textA + u" " + s.textB + u" " + ReadOpponentText(index, level));
            SCOPED_TRACE(text);
            const auto& specs = tools::Opponents();
            const auto spec = std::find_if(specs.begin(), specs.end(),
                                           [&](const tools::OpponentSpec& o) { return o.portrait == s.number; });
            ASSERT_NE(spec, specs.end()) << "no portrait " << s.number;
            const PortraitLook& look = spec->look;
            const std::set<std::string> words = Words(text);

            const bool she = AnyOf(words, {"she", "her", "hers", "herself", "woman", "madame", "miss", "lady", "queen",
                                           "baroness", "sister", "dame"});
            const bool he = AnyOf(words, {"he", "his", "him", "himself", "man", "count", "baron", "kaiser"});
            ASSERT_FALSE(she && he);
            if (she) {
                EXPECT_TRUE(LooksLikeAWoman(look));
                ++women;
            }
            if (he) {
                EXPECT_TRUE(LooksLikeAMan(look));
                ++men;
            }

            if (AnyOf(words, {"old", "retired"}) || text.find("years ago") != std::string::npos) {
                EXPECT_EQ(look.age, tools::Age::kOld);
                EXPECT_TRUE(look.shade == tools::HairShade::kGrey || look.shade == tools::HairShade::kWhite);
                ++old;
            }
            if (AnyOf(words, {"student", "kid"})) {
                EXPECT_EQ(look.age, tools::Age::kYoung);
            }
            if (look.age == tools::Age::kYoung) {
                EXPECT_FALSE(look.shade == tools::HairShade::kGrey || look.shade == tools::HairShade::kWhite);
                EXPECT_FALSE(look.Has(tools::kBeard));
            }

            if (AnyOf(words, {"masked"})) {
                EXPECT_TRUE(look.Has(tools::kMask));
            }
            EXPECT_EQ(AnyOf(words, {"twins"}), look.Has(tools::kTwins));
            if (AnyOf(words, {"tear"})) {
                EXPECT_TRUE(look.Has(tools::kTear));
            }
            if (AnyOf(words, {"sings"})) {
                EXPECT_EQ(look.mood, Mood::kSinging);
            }
            if (text.find("never smiles") != std::string::npos) {
                EXPECT_TRUE(look.mood == Mood::kCalm || look.mood == Mood::kFrown);
            } else if (AnyOf(words, {"smiles", "fun"})) {
                EXPECT_TRUE(look.mood == Mood::kSmile || look.mood == Mood::kGrin);
            }
        }
    }
    // The texts name about a third women and a third men, and three old people.
    EXPECT_GE(women, 15);
    EXPECT_GE(men, 10);
    EXPECT_EQ(old, 3);
}

}  // namespace
}  // namespace qv
