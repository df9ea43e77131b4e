// The installation directory every data, picture, sound and save path starts with.
#pragma once

#include "platform/types.h"

namespace qv {

// Ends with '\'; filled from the registry at start-up.
extern WString gInstallDir;

}  // namespace qv
