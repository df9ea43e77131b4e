// The music layer on libmikmod: set-up, the current tune, its looping timer,
// the volume and the global sound switch.
#include "engine/music.h"

#include <mikmod.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "engine/music_driver.h"
#include "engine/utilities.h"
#include "engine/wstring.h"
#include "platform/files.h"
#include "platform/sound.h"
#include "platform/system.h"

namespace qv {

uint8_t gVolume = 50;
MODULE* gMusicModule = nullptr;
uint8_t gMusicPlaying = 0;
uint8_t gMusicEnabled = 0;
uint8_t gMusicOff = 0;
uintptr_t gMusicTimer = 0;

namespace {

// False until MikMod_Init has succeeded. After a failed init the library
// falls back to a driver it never initialised, on which loading a module
// crashes: every call that could reach the player is skipped then.
bool gLibraryReady = false;

// Loading a tune costs as much as a whole frame of a match, and the screens
// change between a few tunes again and again (the pre-match tune after the
// menus). A freed tune is kept stopped with its file's bytes, and loading the
// same bytes again takes it back and starts it from its first position, as
// the looping timer starts an ended tune.
struct KeptTune {
    std::vector<uint8_t> bytes;
    MODULE* module = nullptr;
};
// A fixed table, oldest first: the modules stay reachable to the end of the
// process, as the loaded one does, since the library is never shut down.
constexpr size_t kKeptTunes = 12;  // more than the game's tunes
std::array<KeptTune, kKeptTunes> gKeptTunes;
size_t gKeptCount = 0;
std::vector<uint8_t> gLoadedBytes;  // the file of gMusicModule
bool gRewindOnPlay = false;         // gMusicModule was kept: start it afresh

}  // namespace

bool InitSound() {
    bool result = true;
    RegisterMusicDriver();
    MikMod_RegisterAllDrivers();
    MikMod_RegisterAllLoaders();
    md_mode = DMODE_SOFT_MUSIC | DMODE_SOFT_SNDFX;
    if (MikMod_Init("") != 0) {
        platform::MessageBox(nullptr, u"Impossible d'initialiser le son", u"Error initsound",
                             platform::MB_OK);
        result = false;
    } else {
        gLibraryReady = true;
    }
    // The output and voice steps only make sense on an initialised library;
    // on a failed one they would report nothing anyway.
    if (gLibraryReady) {
        if (MikMod_EnableOutput() != 0) {
            platform::MessageBox(nullptr, u"Sound mixing impossible", u"Error initsound",
                                 platform::MB_OK);
        }
        MikMod_SetNumVoices(20, 4);
    }
    StartMusicTimer();
    return result;
}

std::unique_ptr<char[]> NarrowPath(const WString& path) {
    auto text = std::make_unique<char[]>(path.size() + 1);
    for (size_t i = 0; i < path.size(); ++i) text[i] = static_cast<char>(path[i] & 0xFF);
    text[path.size()] = 0;
    return text;
}

bool LoadMusic(const WString& path) {
    // Without a working library there is no tune to load, and saying so at
    // every change of tune would only repeat the set-up's message.
    if (!gLibraryReady) {
        gMusicModule = nullptr;
        return false;
    }
    // The library takes 8-bit paths: the low byte of each character, then
    // mapped to the host's form.
    const std::unique_ptr<char[]> narrow = NarrowPath(path);
    std::vector<uint8_t> bytes = ReadWholeFile(Widen(narrow.get()));
    gMusicModule = nullptr;
    if (!bytes.empty()) {
        for (size_t i = 0; i < gKeptCount; ++i) {
            if (gKeptTunes[i].bytes == bytes) {
                gMusicModule = gKeptTunes[i].module;
                std::move(gKeptTunes.begin() + i + 1, gKeptTunes.begin() + gKeptCount, gKeptTunes.begin() + i);
                gKeptTunes[--gKeptCount] = KeptTune{};
                gRewindOnPlay = true;
                break;
            }
        }
        if (gMusicModule == nullptr) {
            gMusicModule =
                Player_LoadMem(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()), 20, 0);
            gRewindOnPlay = false;
        }
    }
    gLoadedBytes = std::move(bytes);
    if (gMusicModule == nullptr) {
        platform::MessageBox(nullptr, path, u"Load sound error", platform::MB_OK);
        return false;
    }
    platform::Trace("tune", Narrow(path));
    return true;
}

void PlayMusic(int position) {
    if (gMusicModule == nullptr) return;
    Player_SetPosition(static_cast<UWORD>(position));
    Player_Start(gMusicModule);
    // A kept tune still stands where it stopped: position 0 on the player's
    // own tune starts it from its beginning with its first speed and volumes.
    if (gRewindOnPlay) Player_SetPosition(static_cast<UWORD>(position));
    gRewindOnPlay = false;
    gMusicPlaying = 1;
}

void FreeMusic() {
    if (gMusicModule != nullptr) {
        if (Player_GetModule() == gMusicModule) Player_Stop();
        if (gKeptCount == kKeptTunes) {
            Player_Free(gKeptTunes[0].module);
            std::move(gKeptTunes.begin() + 1, gKeptTunes.end(), gKeptTunes.begin());
            --gKeptCount;
        }
        gKeptTunes[gKeptCount++] = {std::move(gLoadedBytes), gMusicModule};
    }
    gLoadedBytes.clear();
    gRewindOnPlay = false;
    gMusicModule = nullptr;
    gMusicPlaying = 0;
}

bool IsMusicPlaying() { return gLibraryReady && Player_Active() != 0; }

void SetMusicVolume(int volume) {
    md_volume = static_cast<UBYTE>(volume);
    gMusicOff = volume == 0 ? 1 : 0;
}

void SetMusicEnabled(uint8_t flag) { gMusicEnabled = flag; }

void StartMusicTimer() {
    if (gMusicTimer != 0) return;
    gMusicTimer = platform::SetTimer(nullptr, kMusicTimerId, kMusicTimerPeriod, MusicTimerProc);
}

void MusicTimerProc(platform::WindowHandle, uint32_t, uintptr_t, uint32_t) {
    if (!IsMusicPlaying() && gMusicPlaying == 1 && gMusicEnabled == 1) {
        Player_SetPosition(0);
        PlayMusic(0);
    }
}

void UpdateMusic() {
    if (gMusicOff == 0 && gLibraryReady) MikMod_Update();
}

void PlaySoundEffect(const WString& path) {
    if (gMusicOff == 0) platform::PlaySoundAsync(path);
}

}  // namespace qv
