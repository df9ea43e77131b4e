// Fuzz target: the registry file read as the settings read it; whatever it held, a rewrite
// read back and rewritten again gives the same file.
#include "fuzz/fuzz_support.h"
#include "platform/registry.h"

using namespace qv;
using namespace qv::platform;

namespace {

// Points the registry at a file of a new name, so the next call reads it.
std::filesystem::path UseNewFile() {
    static uint64_t count = 0;
    const std::filesystem::path path = fuzz::TempDir() / ("registry-" + std::to_string(++count % 4) + ".txt");
    // Alternate names: the previous file is the one the registry holds.
    ::setenv("QUORVANE_REGISTRY", path.c_str(), 1);
    return path;
}

// Reads every setting the game reads, through a small and a large buffer.
void QuerySettings() {
    HKey key = nullptr;
    if (RegOpenKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Quorvane", &key) != ERROR_SUCCESS) return;
    for (const char16_t* name : {u"Install_Dir", u"Gamma", u"Volume", u"Effects", u"Character", u"#x", u""}) {
        uint8_t small[4];
        uint8_t large[512];
        uint32_t type = REG_NONE;
        uint32_t size = sizeof small;
        RegQueryValue(key, name, &type, small, &size);
        size = sizeof large;
        RegQueryValue(key, name, &type, large, &size);
    }
    RegCloseKey(key);
}

void SetMarker() {
    HKey key = nullptr;
    if (RegCreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Quorvane", &key) != ERROR_SUCCESS) ::abort();
    const uint8_t value[4] = {7, 0, 0, 0};
    if (RegSetValue(key, u"Gamma", REG_DWORD, value, 4) != ERROR_SUCCESS) ::abort();
    RegCloseKey(key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::StartHeadless();
    std::filesystem::path path = UseNewFile();
    fuzz::WriteBytes(path, data, size);
    QuerySettings();
    SetMarker();
    const fuzz::Bytes first = fuzz::ReadBytes(path);

    // The rewritten file read afresh and written again must not change.
    const std::filesystem::path again = UseNewFile();
    fuzz::WriteBytes(again, first.data(), first.size());
    QuerySettings();
    SetMarker();
    if (fuzz::ReadBytes(again) != first) {
        std::fprintf(stderr, "the registry file changed on a second rewrite\n");
        ::abort();
    }
    return 0;
}
