// The club screen manager gClub: screens by ScreenType, their transitions,
// the club view with its QuickMenu, and the club's block of the quick save.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/button.h"
#include "engine/picture.h"
#include "platform/files.h"

namespace qv {

class CharacterScreen;
class MultiplayerScreen;
class ShopScreen;
class CollectionScreen;
class InstantPlayScreen;
class BetScreen;
class TournamentScreen;
class OptionsScreen;
class TradeScreen;
class BossScreen;

// The screen kinds; the values are the bytes the quick save stores. There is
// no screen 9 or 11.
enum ScreenType : uint8_t {
    kScreenMultiplayer = 0,
    kScreenInstantPlay = 1,
    kScreenBoss = 2,
    kScreenShop = 3,
    kScreenGuestTournament = 4,  // + level 0..2
    kScreenMemberTournament = 5,
    kScreenEliteTournament = 6,
    kScreenOptions = 7,
    kScreenCharacter = 8,
    kScreenBet = 10,
    kScreenCollection = 12,
    kScreenClubView = 13,
    kScreenTrade = 14,
};

// Whether the byte is one of the ScreenType values.
bool IsScreenType(int value);
inline bool IsTournamentType(int value) {
    return value >= kScreenGuestTournament && value <= kScreenEliteTournament;
}

inline constexpr int kRoomCount = 10;
inline constexpr int kPanoramaFrameCount = 50;
// Bytes of the club's block before the ten screen records.
inline constexpr int kClubStateHeaderSize = 35;

class Club {
public:
    Club();
    virtual ~Club();
    Club(const Club&) = delete;
    Club& operator=(const Club&) = delete;

    // --- Dispatch (main loop and window procedure) ---
    // One main-loop turn while gClubActive is set; returns 1.
    int Update();
    // Stylus events in screen pixels; dropped while the club takes no input.
    void StylusDown(uint16_t x, uint16_t y);
    void StylusMove(uint16_t x, uint16_t y);
    void StylusUp(uint16_t x, uint16_t y);
    // Draws the current screen into the buffer (the options screen always
    // into 0); the club view when the current screen is missing.
    void RedrawCurrentScreen(int buffer);

    // --- Openers ---
    // These seven open through the darkening and the dissolve.
    void OpenMultiplayerScreen();
    void OpenInstantPlayScreen();
    void OpenBossScreen();
    void OpenShopScreen(uint8_t returnTo);
    void OpenTournamentScreen(int level);  // 0 guest, 1 member, 2 elite
    void OpenOptionsScreen();
    void OpenCharacterScreen();
    // These three make their screen current at once.
    void OpenBetScreen(uint8_t returnTo, int opponentNumber);  // 1..45
    void OpenCollectionScreen(uint8_t returnTo, uint8_t highlightNew, uint8_t mode);
    void OpenTradeScreen(uint8_t returnTo);

    // --- Transitions and returns ---
    // openRoom 1: after the darkening open the current room's screen;
    // 0: go back to the club view.
    void BeginTransition(uint8_t openRoom);
    // One tick each, run by the club view's tick.
    void StepTransitionOut();
    void StepTransitionIn();
    // Black buffer 0, the club view into buffer 1, then the dissolve.
    void ReturnToClubView();
    // Makes the screen of that type current again (entered and drawn).
    void ReenterScreen(uint8_t type);
    // The trade screen's way out when the other side leaves or the link fails.
    void CloseCollectionScreen();
    // The boss's lair after its match: the character screen when won, else
    // the club view at once.
    void LeaveBossScreen(bool won);
    // True while the club view is current (also during every transition).
    bool IsClubViewActive() const { return currentType_ == kScreenClubView; }

    // --- Tutorial (club_tutorial.cpp) ---
    // From the character screen: the tutorial starts at its first step and
    // the game goes silent until it ends.
    void StartTutorial();
    // The character is made new again (its slot kept) and the sound comes back.
    void EndTutorial();
    // In place of the dispatchers while the tutorial runs.
    void TutorialUpdate();
    void TutorialStylusDown(uint16_t x, uint16_t y);
    void TutorialStylusUp(uint16_t x, uint16_t y);
    // The program ends without a quick save: a tutorial under way ends, so
    // that the character is saved without what the tutorial lent it.
    void DropTutorialOnLeaving();

    // --- Quick save ---
    // The club's block on the open file at its position. True when every
    // byte was written.
    bool WriteState(platform::FileHandle file);
    // Reads the block, creating the screens it holds and checking every
    // value. False when the block is short or damaged: the club is then the
    // club view with no screen open.
    bool ReadState(platform::FileHandle file);
    // After the whole quick save is read: the restored screens take up where
    // they were and the current one is drawn into buffer 0.
    void ResumeFromQuickSave();

    // --- Club view (start-up) ---
    // The 50 panorama frames (one loading step each) and the description
    // background.
    void LoadPanorama();
    // The two arrows and the QuickMenu pictures.
    void LoadButtons();

    // --- Club view ---
    // The whole view into the buffer: black, the room, arrows, tab, credits.
    void Redraw(int8_t buffer);
    // One turn: a walk step, a transition step or a typing tick.
    void Tick();
    // Slide the title out, then walk one room right / left.
    void RotateRight();
    void RotateLeft();
    void StepRotation();
    // One typing tick: the title slides in and a letter every fourth tick.
    void TypeDescription();
    // The whole title and the rest of the description at once.
    void FinishDescription(int8_t buffer);
    void DrawCreditsCounter(int8_t buffer);
    void DrawQuickMenuTab(int8_t buffer);
    void SlideQuickMenuOpen();
    void RunQuickMenu();
    void SlideQuickMenuClosed();

    // --- State, for the screens and for tests ---
    uint8_t CurrentType() const { return currentType_; }
    uint8_t PendingType() const { return pendingType_; }
    uint8_t Input() const { return input_; }
    bool InTransition() const { return transitionOut_ != 0 || transitionIn_ != 0; }
    int Room() const { return room_; }
    int Frame() const { return frame_; }
    int Direction() const { return direction_; }
    bool DescriptionActive() const { return descriptionActive_ != 0; }
    uint8_t ShopReturn() const { return shopReturn_; }
    uint8_t TutorialFlag() const { return tutorialFlag_; }
    uint8_t TutorialStep() const { return tutorialStep_; }
    // The screen objects (null while closed).
    CharacterScreen* GetCharacterScreen() const { return characterScreen_; }
    MultiplayerScreen* GetMultiplayerScreen() const { return multiplayerScreen_; }
    ShopScreen* GetShopScreen() const { return shopScreen_; }
    CollectionScreen* GetCollectionScreen() const { return collectionScreen_; }
    BetScreen* GetBetScreen() const { return betScreen_; }
    TournamentScreen* GetTournamentScreen() const { return tournamentScreen_; }
    TradeScreen* GetTradeScreen() const { return tradeScreen_; }
    BossScreen* GetBossScreen() const { return bossScreen_; }
    // The panorama frame at which room (0..9) stands; 0 outside.
    static int RoomFrame(int room);
    // Letters in the room's description; 0 outside 0..9.
    static int RoomDescriptionLength(int room);
    // Whether a screen of that type exists (13 always).
    bool HasScreen(uint8_t type) const;
    // Back to the state of a fresh start: club view at room 1, every screen
    // deleted, no transition, no tutorial.
    void Reset();

private:
    // One screen deleted while code of it may still run: freed once the
    // outermost dispatch returns.
    struct RetiredScreen {
        void* screen;
        void (*destroy)(void*);
    };
    // Counts the dispatch calls on the stack; the outermost one frees the
    // screens retired while it ran.
    class DispatchScope {
    public:
        explicit DispatchScope(Club& club) : club_(club) { ++club_.dispatchDepth_; }
        ~DispatchScope() {
            if (--club_.dispatchDepth_ == 0) club_.FreeRetiredScreens();
        }
        DispatchScope(const DispatchScope&) = delete;
        DispatchScope& operator=(const DispatchScope&) = delete;

    private:
        Club& club_;
    };

    // Manager (club.cpp).
    // Clears the screen's pointer; the object is freed at once outside a
    // dispatch, else when the outermost dispatch returns.
    template <class T>
    void Retire(T*& screen) {
        if (screen == nullptr) return;
        retired_.push_back({screen, [](void* p) { delete static_cast<T*>(p); }});
        screen = nullptr;
        if (dispatchDepth_ == 0) FreeRetiredScreens();
    }
    void FreeRetiredScreens();
    static void TraceScreen(const char* what, uint8_t type);
    void DeleteScreenOfType(uint8_t type);
    void DispatchUpdate();
    void DispatchStylusDown(uint16_t x, uint16_t y);
    void DispatchStylusUp(uint16_t x, uint16_t y);
    void UpdateScreen(uint8_t type);
    void DrawScreen(uint8_t type, int8_t buffer);
    void FallBackToClubView();
    void BeginTransitionIn(uint8_t type);
    void OpenRoomScreen();
    void EnterScreen(uint8_t type);
    // Enter on the screen of that type when it is a room's own screen (not
    // the club view nor the lair).
    void EnterRoomScreen(uint8_t type);
    void CloseScreen(uint8_t type);
    void NoteMatchState();
    // Club view (club_view.cpp, quick_menu.cpp).
    void ClubViewKeys();
    void ClubViewStylusDown(uint16_t x, uint16_t y);
    void ClubViewStylusUp(uint16_t x, uint16_t y);
    void EnterRoom();
    void StartWalk(int8_t direction);
    // The title moves by its speed; every third step the speed eases by one
    // toward 2 (sliding in, speeds from 10) or -2 (sliding out, from -10).
    void StepTitleSlide();
    void BeginRoomShow(int8_t buffer);
    void LoadTitle();
    void DrawArrows(int8_t buffer);
    void DrawCurrentFrame(int8_t buffer);
    void ActOnQuickMenuRow(int row);
    // Quick save (club_state.cpp).
    bool ReadHeader(platform::FileHandle file);
    bool ReadScreenRecords(platform::FileHandle file);
    void CheckRestoredState();
    // Tutorial (club_tutorial.cpp).
    void SetTutorialStep(uint8_t step);
    void TutorialKeys();
    void TutorialEnterRoom();
    void ShopStepDone();
    void DeckStepDone();
    void MatchStepDone();
    // The tutorial's additions at the end of a transition in and of a walk.
    void TutorialAfterEntering(uint8_t type);
    void TutorialAfterArrival();
    bool TutorialMatchesScreens() const;
    void CheckRestoredTutorial();

    // The order of these fields is the order of the quick-save block.
    uint8_t input_ = 1;
    uint8_t transitionOut_ = 0;
    uint8_t transitionIn_ = 0;
    int8_t stepCounter_ = 0;
    uint8_t openRoom_ = 0;
    uint8_t descriptionActive_ = 0;
    int16_t descriptionIndex_ = 0;
    int16_t typingX_ = 0;
    int16_t typingY_ = 0;
    uint8_t typingBuffer_ = 0;
    int8_t typingTick_ = 0;
    uint8_t pendingType_ = kScreenClubView;
    uint8_t currentType_ = kScreenClubView;
    int16_t room_ = 1;
    int16_t frame_ = 7;
    int8_t direction_ = 0;  // 1 right, -1 left, 0 standing
    Picture panorama_[kPanoramaFrameCount];
    Picture title_;
    Picture descriptionBackground_;
    int16_t titlePosition_ = 0;
    int8_t titleSpeed_ = 0;
    uint8_t roomShown_ = 0;
    uint8_t descriptionTyped_ = 0;
    uint8_t titleInPlace_ = 0;
    int8_t titleTick_ = 0;
    // The screens to return to are 0 until an opener sets them, as the
    // quick save of a fresh club carries them.
    uint8_t betReturn_ = 0;
    uint8_t collectionReturn_ = 0;
    uint8_t shopReturn_ = 0;
    uint8_t tradeReturn_ = 0;
    Button leftArrow_;
    Button rightArrow_;
    Picture quickMenuOn_;
    Picture quickMenu_;
    CharacterScreen* characterScreen_ = nullptr;
    MultiplayerScreen* multiplayerScreen_ = nullptr;
    ShopScreen* shopScreen_ = nullptr;
    CollectionScreen* collectionScreen_ = nullptr;
    InstantPlayScreen* instantPlayScreen_ = nullptr;
    BetScreen* betScreen_ = nullptr;
    TournamentScreen* tournamentScreen_ = nullptr;
    OptionsScreen* optionsScreen_ = nullptr;
    TradeScreen* tradeScreen_ = nullptr;
    BossScreen* bossScreen_ = nullptr;
    uint8_t tutorialStep_ = 0;
    uint8_t tutorialFlag_ = 0;
    uint8_t savedMusicOff_ = 0;

    // Not stored: bookkeeping of this program.
    std::vector<RetiredScreen> retired_;
    int dispatchDepth_ = 0;
    uint8_t stylusDown_ = 0;    // the last stylus down reached a screen
    uint8_t matchRunning_ = 0;  // a match started from the club has not ended yet
};

extern Club gClub;

// Frees the current tune and plays "SOUNDS\menu.QVX" from the start, unless
// gMusicOff is set.
void StartMenuMusic();

}  // namespace qv
