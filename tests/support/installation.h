// Installation directories for tests: the built asset set linked into a
// folder of the test's own, with a "SAVE" folder of its own.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "engine/install_dir.h"
#include "tests/support/files.h"

namespace qv::test {

// The asset set the build generated.
inline const std::filesystem::path kBuiltInstall = QV_INSTALL_DIR;

// dir/install with every folder of the assets linked in but "SAVE", which
// is an empty folder of its own, so that runs do not share saves.
inline std::filesystem::path LinkInstallation(const std::filesystem::path& dir,
                                              const std::filesystem::path& assets = kBuiltInstall) {
    const std::filesystem::path install = dir / "install";
    std::error_code ignored;
    std::filesystem::create_directories(install / "SAVE", ignored);
    for (const auto& entry : std::filesystem::directory_iterator(assets, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name != "SAVE" && name != "save") {
            std::filesystem::create_symlink(entry.path(), install / name, ignored);
        }
    }
    return install;
}

// gInstallDir pointing at the folder, in the handheld's form with its final '\'.
inline void UseInstallDir(const std::filesystem::path& folder) { gInstallDir = HandheldPath(folder) + u"\\"; }

}  // namespace qv::test
