// The start-up reading of the registry: the settings' globals and the
// installation directory.
#include "shell/settings.h"

#include "cards/card_database.h"
#include "engine/display.h"
#include "engine/effects.h"
#include "engine/install_dir.h"
#include "engine/music.h"
#include "engine/registry_settings.h"
#include "platform/display.h"
#include "platform/keys.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace qv {

namespace {

const WString kInstallDirValue = u"Install_Dir";
// The directory's buffer: 100 characters with the terminating zero.
constexpr uint32_t kInstallDirBytes = 200;
constexpr size_t kInstallDirMaxLength = 99;

// The directory text, or false when it is missing, not a text, not
// terminated within its buffer or longer than 99 characters.
bool ReadInstallDir(WString& directory) {
    platform::HKey key = nullptr;
    if (platform::RegOpenKey(platform::HKEY_LOCAL_MACHINE, kSettingsKey, &key) !=
        platform::ERROR_SUCCESS) {
        return false;
    }
    char16_t data[kInstallDirBytes / 2] = {};
    uint32_t size = kInstallDirBytes;
    uint32_t type = platform::REG_NONE;
    int32_t result = platform::RegQueryValue(key, kInstallDirValue, &type, data, &size);
    platform::RegCloseKey(key);
    if (result != platform::ERROR_SUCCESS || type != platform::REG_SZ || size > kInstallDirBytes) {
        return false;
    }
    size_t characters = size / 2;
    size_t length = 0;
    while (length < characters && data[length] != u'\0') {
        ++length;
    }
    if (length == characters || length > kInstallDirMaxLength) {
        return false;
    }
    directory.assign(data, length);
    return true;
}

}  // namespace

void CreateRegistryKeys() {
    for (const char16_t* name : {u"Gamma", u"Volume", u"Effects", u"Character"}) {
        platform::HKey key = nullptr;
        if (platform::RegCreateKey(platform::HKEY_LOCAL_MACHINE, WString(kSettingsKey) + u"\\" + name, &key) ==
            platform::ERROR_SUCCESS) {
            platform::RegCloseKey(key);
        }
    }
}

void LoadSettings() {
    gGamma = LoadGammaSetting();
    gGammaSetting = gGamma;
    gVolume = LoadVolumeSetting();
    gEffectsOn = LoadEffectsSetting() ? 1 : 0;
}

void LoadInstallDir() {
    WString directory;
    if (ReadInstallDir(directory)) {
        gInstallDir = directory + u"\\";
        return;
    }
    platform::MessageBox(nullptr, u"Can't find Quorvane Directory", u"Quorvane",
                         platform::MB_ICONHAND);
    platform::GXCloseInput();
    platform::GXCloseDisplay();
    CloseCardDatabase();
    platform::ExitProcess(1);
}

}  // namespace qv
