// Temporary directories for tests, removed again by the process that made them.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace qv::test {

// A fresh directory "quorvane-<name>-XXXXXX" below the system's temporary
// directory, removed with everything in it when the object goes. A child
// that a fork or a death test made leaves it to its parent.
class TempDir {
public:
    explicit TempDir(const std::string& name = "test") : owner_(::getpid()) {
        std::string pattern = (std::filesystem::temp_directory_path() / ("quorvane-" + name + "-XXXXXX")).string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data()) != nullptr) root_ = buffer.data();
    }
    ~TempDir() {
        if (root_.empty() || ::getpid() != owner_) return;
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::string Path() const { return root_.string(); }
    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    std::filesystem::path operator/(const std::string& name) const { return root_ / name; }

private:
    std::filesystem::path root_;
    pid_t owner_;
};

// One directory for the whole process (set-ups that run once per process
// point the platform at it); removed when the process ends normally.
inline const std::filesystem::path& ProcessTempDir(const std::string& name = "test") {
    static TempDir dir(name);
    return dir.Root();
}

}  // namespace qv::test
