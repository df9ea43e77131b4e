// The program's spine: start-up, the main loop and every way out.
#include "shell/game.h"

#include <new>

#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "club/club.h"
#include "club/room_kit.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/install_dir.h"
#include "engine/loading_screen.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "match/match.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "shell/cheats.h"
#include "shell/settings.h"

namespace qv {

platform::GXDisplayProperties gDisplayProperties;

namespace {

const WString kProgramName = u"Quorvane";
constexpr int kLoadingSteps = 64;
constexpr int kShowMaximized = 12;  // the show command for other applications

enum : int { kLeaveQuit = 2, kLeaveContacts = 3, kLeaveCalendar = 4 };

// The hardware-button prompts, in the order they are tested.
struct Prompt {
    int key;
    const char16_t* message;
    int leaveKind;
};
constexpr Prompt kPrompts[] = {
    {6, u"Exit the game and go to your contact ?", kLeaveContacts},
    {7, u"Exit the game and see the calendar ?", kLeaveCalendar},
    {5, u"Do you really want to quit the game now ?", kLeaveQuit},
};

// A fatal start-up stop: system box, keys and display closed, code 1.
[[noreturn]] void FatalStartupError(const WString& text) {
    platform::MessageBox(nullptr, text, kProgramName, platform::MB_ICONHAND);
    platform::GXCloseInput();
    platform::GXCloseDisplay();
    platform::ExitProcess(1);
}

void LoadingSteps(int count) {
    for (int i = 0; i < count; ++i) {
        gLoadingScreen.Step();
    }
}

// The maker's logo until a tap or 2000 ms.
void ShowLogo() {
    Picture logo;
    LoadPicture(gInstallDir + u"GFX\\GENERAL\\OMBRELTEAM.QVG", logo, true);
    BlitPicture(0, 0, logo, 0);
    PresentScreen();
    WaitForTapOrTimeout(2000);
    FreePicture(logo);
    ClearAllBuffers(0);
    PresentScreen();
}

void SetUpDisplay() {
    DetectDeviceModel();
    if (!SetPixelFormat(gDisplayProperties.ffFormat)) {
        FatalStartupError(
            u" Error :\nScreen format is not supported\nQuorvane requires at least a 4096 colors "
            u"screen.");
    }
    // Every layout and many whole-buffer copies assume the upright 240 x 320 screen.
    if (gDisplayProperties.cxWidth != static_cast<uint32_t>(kScreenWidth) ||
        gDisplayProperties.cyHeight != static_cast<uint32_t>(kScreenHeight)) {
        FatalStartupError(
            u" Error :\nScreen size is not supported\nQuorvane requires a 240x320 screen.");
    }
    SetDisplayPitch(gDisplayProperties.cbxPitch, gDisplayProperties.cbyPitch);
    AllocScreenBuffers(static_cast<int32_t>(gDisplayProperties.cxWidth),
                       static_cast<int32_t>(gDisplayProperties.cyHeight));
    gTransparentKey = BrightenColour(0, gGamma);
    ClearAllBuffers(0);
    PresentScreen();
}

// The way out after WM_QUIT: a match result that a room has not counted yet
// is counted, with the cards its end still owes, the character is saved (no
// quick save is written), the card database, the keys and the display are
// closed. A character that cannot be saved is told on standard error only:
// the window is closing, and a box inside a modal wait would take the close
// again.
void CloseAfterQuit() {
    SetSaveFailureNote(SaveFailureNote::kErrorOutput);
    if (gClubActive == 0) gMatch.SettleExchange(false);
    SettlePendingMatchResults();
    // No quick save follows: a tutorial under way cannot be taken up again.
    gClub.DropTutorialOnLeaving();
    SavePlayer();
    CloseCardDatabase();
    platform::GXCloseInput();
    platform::GXCloseDisplay();
}

// A close that came during a modal wait: the same way out, then the process
// ends with the quit code as main would end it.
void LeaveDuringWait(int code) {
    CloseAfterQuit();
    platform::ExitProcess(code);
}

// Turns until WM_QUIT; gives its code.
int RunMainLoop() {
    for (;;) {
        UpdateMusic();
        platform::Msg msg;
        if (platform::PeekMessage(&msg, 0, 0, true)) {
            if (msg.message == platform::WM_QUIT) {
                return static_cast<int>(msg.wParam);
            }
            platform::TranslateMessage(msg);
            platform::DispatchMessage(msg);
            continue;
        }
        HandleButtonPrompt();
        if (gClubActive == 1) {
            gClub.Update();
        } else {
            gMatch.Update();
        }
        PresentScreen();
    }
}

}  // namespace

void HandleButtonPrompt() {
    for (const Prompt& prompt : kPrompts) {
        if (!gKeyState[prompt.key]) {
            continue;
        }
        gKeyState[prompt.key] = 0;
        // Kept until the prompt returns; leaving the game never comes back.
        const BackBufferKeeper keeper;
        bool cancelled = ShowNote(prompt.message, u"Cancel", u"Ok");
        if (!cancelled) LeaveGame(prompt.leaveKind);
        return;
    }
}

void OnOutOfMemory() {
    // The box itself may need memory: a failure inside it ends at once.
    static bool reporting = false;
    if (reporting) {
        platform::ExitProcess(1);
    }
    reporting = true;
    platform::MessageBox(nullptr, u"Error : Memory Error.", kProgramName, platform::MB_ICONHAND);
    platform::GXCloseInput();
    platform::GXCloseDisplay();
    CloseCardDatabase();
    platform::ExitProcess(1);
}

uint16_t RegisterMainWindowClass(const WString& className) {
    return platform::RegisterWindowClass(className, MainWindowProc);
}

bool StartInstance(int showCommand) {
    platform::WindowHandle running = platform::FindWindow(kProgramName, kProgramName);
    if (running != nullptr) {
        platform::SetForegroundWindow(running);
        return false;
    }
    RegisterMainWindowClass(kProgramName);
    gMainWindow = platform::CreateWindow(kProgramName, kProgramName);
    if (gMainWindow == nullptr) {
        return false;
    }
    platform::ShowWindow(gMainWindow, showCommand);
    platform::UpdateWindow(gMainWindow);
    if (platform::GXOpenDisplay(gMainWindow, platform::GX_FULLSCREEN) == 0) {
        return false;
    }
    platform::GXOpenInput();
    gDisplayProperties = platform::GXGetDisplayProperties();
    gKeyList = platform::GXGetDefaultKeys(platform::GX_NORMALKEYS);
    return true;
}

void InitGame() {
    SeedRandom(static_cast<uint32_t>(platform::CurrentTime()));
    CreateRegistryKeys();
    LoadSettings();
    LoadInstallDir();
    // Usually there already; a failure shows up when a save is written.
    platform::CreateDirectory(gInstallDir + u"SAVE");
    gMusicOff = gVolume == 0 ? 1 : 0;
    if (!OpenCardDatabase()) {
        // The box does not say where the files were looked for.
        platform::ReportProblem("data files are missing in " + platform::MapPath(gInstallDir) +
                                " (the installation directory: \"Install_Dir\" in " +
                                platform::RegistryFile() + ")");
        FatalStartupError(u" Error :\n Data files are missing !");
    }
    SetUpCheatSequences();
    SetUpDisplay();
    ShowLogo();

    // The loading screen's 64 steps: 2 + 4 + 1 + 50 + 1 + 1 + 5.
    gLoadingScreen.Begin(kLoadingSteps);
    gFont.Load(gInstallDir + u"GFX\\GENERAL\\NEW FONT.QVB", true, true);
    LoadingSteps(2);
    LoadingSteps(4);
    LoadBoardPictures();
    LoadingSteps(1);
    gClub.LoadPanorama();
    gClubActive = 1;
    LoadingSteps(1);
    InitSound();
    SetMusicVolume(gVolume);
    LoadingSteps(1);
    SetMusicEnabled(1);
    StartMusicTimer();
    if (!gMusicOff) {
        LoadMusic(gInstallDir + u"SOUNDS\\Avant une partie.QVX");
        PlayMusic(0);
    }
    // The last of these runs the closing scroll and waits for a tap.
    LoadingSteps(5);
    gLoadingScreen.FreePictures();

    for (int step = 0; step < 8; ++step) {
        UpdateMusic();
        DarkenRect(0, 0, kScreenWidth, kScreenHeight, 4, 0);
        PresentScreen();
    }
    LoadOpponents();
    gProfile.SetKind(kLocalPlayer);
    ClearKeyStates();
    gMatch.LoadBoardUi();
}

void LeaveGame(int kind) {
    SaveGameAndCharacter();
    platform::GXCloseInput();
    platform::GXCloseDisplay();
    CloseCardDatabase();
    // Neither start is waited for nor checked.
    if (kind == kLeaveContacts) {
        platform::ShellExecute(u"\\windows\\addrbook.exe", kShowMaximized);
    } else if (kind == kLeaveCalendar) {
        platform::ShellExecute(u"\\windows\\calendar.exe", kShowMaximized);
    }
    platform::ExitProcess(0);
}

int WinMain(int showCommand) {
    std::set_new_handler(OnOutOfMemory);
    if (!StartInstance(showCommand)) {
        return 0;
    }
    platform::SetQuitHandler(LeaveDuringWait);
    InitGame();
    gClub.LoadButtons();
    if (LoadQuickSave()) {
        gClub.ResumeFromQuickSave();
    } else {
        gClub.OpenCharacterScreen();
    }
    // Scenario tests wait for this line before they send input.
    platform::Trace("state", "main loop");
    int code = RunMainLoop();
    CloseAfterQuit();
    return code;
}

}  // namespace qv
