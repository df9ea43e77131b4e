// The registry: keys with DWORD and text values, kept in a readable file.
#pragma once

#include "platform/types.h"

namespace qv::platform {

struct RegistryKey;
using HKey = RegistryKey*;
// The root the game's key lives under.
extern HKey const HKEY_LOCAL_MACHINE;

enum : uint32_t { REG_NONE = 0, REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4 };
enum : int32_t {
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_ACCESS_DENIED = 5,  // the registry file could not be written
    ERROR_INVALID_PARAMETER = 87,
    ERROR_MORE_DATA = 234,
};

// The backing file is QUORVANE_REGISTRY, or $XDG_CONFIG_HOME/quorvane/registry.txt.
// Every change is written through at once and is on the storage device when
// the call returns. Every key path, name and text that is accepted reads back
// unchanged; one with an unpaired UTF-16 surrogate is refused
// (ERROR_INVALID_PARAMETER).
int32_t RegCreateKey(HKey parent, const WString& subKey, HKey* result);
int32_t RegOpenKey(HKey parent, const WString& subKey, HKey* result);
int32_t RegCloseKey(HKey key);
// Copies the value into data (at most *size bytes). A text is UTF-16 with a
// terminating zero. ERROR_MORE_DATA when it does not fit; *size then gives
// the size needed. *type gets the value's type when type is not null.
int32_t RegQueryValue(HKey key, const WString& name, uint32_t* type, void* data, uint32_t* size);
int32_t RegSetValue(HKey key, const WString& name, uint32_t type, const void* data, uint32_t size);
// The host path of the backing file.
std::string RegistryFile();

}  // namespace qv::platform
