// The game's tunes: little four-channel pieces composed by rule, written as modules.
#pragma once

#include <string>

#include "tools/mod_writer.h"

namespace qv::tools {

// The module of a named tune ("menu", "Boss", ...); an empty song for an unknown name.
ModSong ComposeTune(const std::string& name);

// Writes every tune the game plays below root/SOUNDS. False on failure.
bool WriteTunes(const std::string& root);

}  // namespace qv::tools
