// Files on handheld paths: path mapping with case-insensitive fallback, and
// handles that read and write straight through file descriptors.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/internal.h"
#include "platform/system.h"
#include "platform/text.h"

namespace qv::platform {

struct FileObject {
    int fd = -1;
    std::string path;
    bool written = false;
};

namespace {

int gLastError = 0;

// Keeps the reason of a failed call; false, for the caller to return.
bool Failed(int error) {
    gLastError = error;
    return false;
}

bool Exists(const std::string& hostPath) {
    struct stat info {};
    return ::lstat(hostPath.c_str(), &info) == 0;
}

// The entry of the directory whose name equals name without regard to ASCII
// case; the smallest such name when several do, so the choice is stable.
bool FindCaseInsensitive(const std::string& directory, const std::string& name, std::string* found) {
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
        return false;
    }
    bool any = false;
    while (dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0 && (!any || *found > entry->d_name)) {
            *found = entry->d_name;
            any = true;
        }
    }
    ::closedir(dir);
    return any;
}

// The directory flush after a move, traced once the directory was opened.
bool SyncDirectoryOf(const std::string& hostPath) {
    std::string directory;
    bool ok = SyncDirectory(hostPath, &directory);
    if (!directory.empty()) {
        Trace(ok ? "flush" : "flushfail", directory);
    }
    return ok;
}

const char* ModeText(uint32_t access) {
    bool read = (access & GENERIC_READ) != 0;
    bool write = (access & GENERIC_WRITE) != 0;
    return read && write ? "rw" : write ? "w" : "r";
}

}  // namespace

std::string MapPath(const WString& path) {
    std::string text = ToUtf8(path);
    for (char& c : text) {
        if (c == '\\') {
            c = '/';
        }
    }
    std::string result = !text.empty() && text[0] == '/' ? "/" : "";
    // The path as written, its empty components dropped: when it exists, so
    // does every component as written, and one look suffices.
    std::string exact = result;
    for (size_t at = 0; at <= text.size();) {
        size_t end = text.find('/', at);
        end = end == std::string::npos ? text.size() : end;
        if (end > at) {
            if (!exact.empty() && exact.back() != '/') exact += '/';
            exact.append(text, at, end - at);
        }
        at = end + 1;
    }
    if (!exact.empty() && exact != "/" && Exists(exact)) {
        if (text.back() == '/') exact += '/';
        return exact;
    }
    bool lookUp = true;  // false once a component is missing: nothing below it exists
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('/', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string component = text.substr(start, end - start);
        start = end + 1;
        if (component.empty()) {
            continue;
        }
        std::string directory = result;
        std::string candidate = result.empty() || result.back() == '/' ? result + component
                                                                        : result + "/" + component;
        if (lookUp && component != "." && component != ".." && !Exists(candidate)) {
            std::string found;
            if (FindCaseInsensitive(directory, component, &found)) {
                candidate = directory.empty() || directory.back() == '/' ? directory + found
                                                                         : directory + "/" + found;
            } else {
                lookUp = false;
            }
        }
        result = candidate;
    }
    // Keep a trailing separator: it names a directory.
    if (!text.empty() && text.back() == '/' && !result.empty() && result.back() != '/') {
        result += '/';
    }
    return result;
}

void MakeParentDirectories(const std::string& hostPath) {
    for (size_t slash = hostPath.find('/', 1); slash != std::string::npos;
         slash = hostPath.find('/', slash + 1)) {
        ::mkdir(hostPath.substr(0, slash).c_str(), 0755);
    }
}

bool SyncDescriptor(int fd) {
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// A file system that cannot flush a directory (EINVAL) keeps its names as
// safely as it can; only a real failure counts.
bool SyncDirectory(const std::string& hostPath, std::string* opened) {
    size_t slash = hostPath.rfind('/');
    std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : hostPath.substr(0, slash);
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = SyncDescriptor(fd) || errno == EINVAL;
    ::close(fd);
    if (opened != nullptr) {
        *opened = directory;
    }
    return ok;
}

FileHandle CreateFile(const WString& path, uint32_t access, uint32_t creation) {
    std::string hostPath = MapPath(path);
    bool read = (access & GENERIC_READ) != 0;
    bool write = (access & GENERIC_WRITE) != 0;
    int flags = O_CLOEXEC | (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY);
    switch (creation) {
    case CREATE_NEW:
        flags |= O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
        flags |= O_CREAT | O_TRUNC;
        break;
    case OPEN_EXISTING:
        break;
    case OPEN_ALWAYS:
        flags |= O_CREAT;
        break;
    case TRUNCATE_EXISTING:
        flags |= O_TRUNC;
        break;
    default:
        Trace("openfail", std::string(ModeText(access)) + " " + hostPath);
        return INVALID_HANDLE_VALUE;
    }
    if (!write && (flags & O_TRUNC) != 0) {
        flags = (flags & ~O_ACCMODE) | O_RDWR;  // truncating needs write access
    }
    int fd = ::open(hostPath.c_str(), flags, 0644);
    if (fd < 0) {
        Failed(errno);
    }
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))) {
        Failed(S_ISDIR(info.st_mode) ? EISDIR : errno);
        ::close(fd);
        fd = -1;
    }
    if (fd < 0) {
        Trace("openfail", std::string(ModeText(access)) + " " + hostPath);
        return INVALID_HANDLE_VALUE;
    }
    Trace("open", std::string(ModeText(access)) + " " + hostPath);
    return new FileObject{fd, hostPath, false};
}

bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t* read) {
    if (read != nullptr) {
        *read = 0;
    }
    if (file == INVALID_HANDLE_VALUE || (buffer == nullptr && count > 0)) {
        return false;
    }
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = ::read(file->fd, static_cast<uint8_t*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            if (read != nullptr) {
                *read = done;
            }
            return Failed(errno);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<uint32_t>(n);
    }
    if (read != nullptr) {
        *read = done;
    }
    return true;
}

bool WriteFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* written) {
    if (written != nullptr) {
        *written = 0;
    }
    if (file == INVALID_HANDLE_VALUE || (buffer == nullptr && count > 0)) {
        return false;
    }
    if (!file->written) {
        file->written = true;
        Trace("write", file->path);
    }
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = ::write(file->fd, static_cast<const uint8_t*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (written != nullptr) {
                *written = done;
            }
            return Failed(n < 0 ? errno : EIO);
        }
        done += static_cast<uint32_t>(n);
    }
    if (written != nullptr) {
        *written = done;
    }
    return true;
}

bool FlushFileBuffers(FileHandle file) {
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = SyncDescriptor(file->fd) || Failed(errno);
    Trace(ok ? "flush" : "flushfail", file->path);
    return ok;
}

uint32_t SetFilePointer(FileHandle file, int32_t distance, uint32_t method) {
    if (file == INVALID_HANDLE_VALUE) {
        return INVALID_FILE_SIZE;
    }
    int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
    if (whence < 0) {
        return INVALID_FILE_SIZE;
    }
    off_t position = ::lseek(file->fd, distance, whence);
    if (position < 0 || position >= static_cast<off_t>(INVALID_FILE_SIZE)) {
        return INVALID_FILE_SIZE;
    }
    return static_cast<uint32_t>(position);
}

uint32_t GetFileSize(FileHandle file) {
    struct stat info {};
    if (file == INVALID_HANDLE_VALUE || ::fstat(file->fd, &info) != 0 ||
        info.st_size >= static_cast<off_t>(INVALID_FILE_SIZE)) {
        return INVALID_FILE_SIZE;
    }
    return static_cast<uint32_t>(info.st_size);
}

bool CloseHandle(FileHandle file) {
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = ::close(file->fd) == 0 || Failed(errno);
    delete file;
    return ok;
}

bool DeleteFile(const WString& path) {
    std::string hostPath = MapPath(path);
    bool ok = ::unlink(hostPath.c_str()) == 0 || Failed(errno);
    Trace(ok ? "delete" : "deletefail", hostPath);
    return ok;
}

bool MoveFileReplacing(const WString& from, const WString& to) {
    std::string fromPath = MapPath(from);
    std::string toPath = MapPath(to);
    bool ok = ::rename(fromPath.c_str(), toPath.c_str()) == 0 || Failed(errno);
    Trace(ok ? "move" : "movefail", fromPath + " " + toPath);
    return ok && (SyncDirectoryOf(toPath) || Failed(errno != 0 ? errno : EIO));
}

bool CreateDirectory(const WString& path) {
    std::string hostPath = MapPath(path);
    bool ok = ::mkdir(hostPath.c_str(), 0755) == 0;
    if (ok) {
        Trace("mkdir", hostPath);
    }
    return ok;
}

bool FileExists(const WString& path) {
    struct stat info {};
    return ::stat(MapPath(path).c_str(), &info) == 0;
}

std::string LastFileError() { return gLastError == 0 ? std::string() : std::strerror(gLastError); }

}  // namespace qv::platform
