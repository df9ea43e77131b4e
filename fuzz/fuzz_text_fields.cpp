// Fuzz target: the '#' fields of the data files and the scrambled texts of the save files,
// read field after field to the end of the input.
#include "cards/save_io.h"
#include "engine/utilities.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static WString path;
    if (path.empty()) {
        fuzz::StartHeadless();
        path = fuzz::Handheld(fuzz::TempDir() / "texts.bin");
    }
    const std::span<const uint8_t> buffer(data, size);
    // Fields as text, then as numbers; each read must move on or stop at the end.
    for (int pass = 0; pass < 2; ++pass) {
        size_t cursor = 0;
        while (cursor < size) {
            const size_t before = cursor;
            if (pass == 0) {
                (void)ReadHashField(buffer, cursor).size();
            } else {
                (void)ReadHashNumber(buffer, cursor);
            }
            if (cursor > size) ::abort();
            if (cursor == before) break;
        }
    }

    fuzz::WriteBytes(fuzz::TempDir() / "texts.bin", data, size);
    for (int reader = 0; reader < 2; ++reader) {
        platform::FileHandle file = platform::CreateFile(path, platform::GENERIC_READ, platform::OPEN_EXISTING);
        if (file == platform::INVALID_HANDLE_VALUE) ::abort();
        for (size_t n = 0; n <= size; ++n) {
            const uint32_t before = platform::SetFilePointer(file, 0, platform::FILE_CURRENT);
            if (reader == 0) {
                (void)ReadScrambledText(file).size();
            } else {
                WString text;
                if (!ReadSaveText(file, text)) break;
            }
            if (platform::SetFilePointer(file, 0, platform::FILE_CURRENT) == before) break;
        }
        platform::CloseHandle(file);
    }
    return 0;
}
