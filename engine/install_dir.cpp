// The installation directory every data, picture, sound and save path starts with.
#include "engine/install_dir.h"

namespace qv {

WString gInstallDir = u"program files\\Ombrel Cards\\";

}  // namespace qv
