// Placeholder until the tournaments are built: a dark screen that closes on a
// tap and keeps its quick-save bytes.
#include "club/tournament_screen.h"

#include "club/placeholder_screen.h"

namespace qv {

namespace {
const char16_t kName[] = u"Tournament";
constexpr int kStateOffset = 34;  // the state byte within the stored bytes
}  // namespace

// Placeholder until the tournaments are built: idle at the level.
TournamentScreen::TournamentScreen(int level) {
    state_[0] = static_cast<uint8_t>(level);
    state_[kStateOffset] = kStateIdle;
    DrawPlaceholderScreen(kName, 1);
}
TournamentScreen::~TournamentScreen() = default;
void TournamentScreen::Enter() { Draw(0); }
void TournamentScreen::Update() {}
bool TournamentScreen::StylusDown(uint16_t, uint16_t) { return false; }
// Placeholder until the tournaments are built: any tap closes it.
bool TournamentScreen::StylusUp(uint16_t, uint16_t) { return true; }
void TournamentScreen::Draw(int8_t buffer) { DrawPlaceholderScreen(kName, buffer); }
bool TournamentScreen::WriteState(platform::FileHandle file) {
    return WritePlaceholderState(file, state_, kStateSize);
}
bool TournamentScreen::ReadState(platform::FileHandle file) {
    return ReadPlaceholderState(file, state_, kStateSize);
}
uint8_t TournamentScreen::GetState() const { return state_[kStateOffset]; }
// Placeholder until the tournaments are built: no match to replay.
void TournamentScreen::ReplayMatch() {}

}  // namespace qv
