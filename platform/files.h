// Files on paths in the handheld's form.
#pragma once

#include "platform/types.h"

namespace qv::platform {

// Paths use '\'; each component matches exactly first, then without regard
// to case. A leading '\' is the root of the installation filesystem, which
// is the host's root. See MapPath.
struct FileObject;
using FileHandle = FileObject*;
inline FileHandle const INVALID_HANDLE_VALUE = nullptr;

enum : uint32_t { GENERIC_READ = 0x80000000u, GENERIC_WRITE = 0x40000000u };
enum : uint32_t {
    CREATE_NEW = 1,
    CREATE_ALWAYS = 2,  // create or truncate
    OPEN_EXISTING = 3,
    OPEN_ALWAYS = 4,
    TRUNCATE_EXISTING = 5,
};
enum : uint32_t { FILE_BEGIN = 0, FILE_CURRENT = 1, FILE_END = 2 };
inline constexpr uint32_t INVALID_FILE_SIZE = 0xFFFFFFFFu;

// Host path for a handheld path ('\' to '/', case-insensitive fallback per
// component). The part that does not exist yet is kept as written.
std::string MapPath(const WString& path);

// Opens or creates a file; INVALID_HANDLE_VALUE on failure. Read-only
// access never asks the host for write permission.
FileHandle CreateFile(const WString& path, uint32_t access, uint32_t creation);
// Reads up to count bytes; *read gets the number read (0 at the end).
bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t* read);
// Writes count bytes; they reach the host file before this returns.
bool WriteFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* written);
// Forces what was written through the handle onto the storage device, so it
// survives a power cut; false when the host reports a failure.
bool FlushFileBuffers(FileHandle file);
// Moves the position; returns the new position or 0xFFFFFFFF on failure.
uint32_t SetFilePointer(FileHandle file, int32_t distance, uint32_t method);
uint32_t GetFileSize(FileHandle file);
// Closing INVALID_HANDLE_VALUE does nothing.
bool CloseHandle(FileHandle file);
bool DeleteFile(const WString& path);
// Renames over an existing file atomically, then flushes the directory so
// that the new name survives a power cut; true only when both succeeded.
bool MoveFileReplacing(const WString& from, const WString& to);
bool CreateDirectory(const WString& path);
bool FileExists(const WString& path);
// The host's reason for the last of these calls that failed, e.g. "No space
// left on device"; empty before any failed. Writing past the host's file-size
// limit fails like a full disk ("File too large") and does not end the program.
std::string LastFileError();

}  // namespace qv::platform
