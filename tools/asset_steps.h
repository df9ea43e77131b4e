// The steps that build the installation directory, in order.
#pragma once

#include <string>
#include <vector>

namespace qv::tools {

struct AssetStep {
    const char* name;
    bool (*run)(const std::string& root);
};

// Every writer of the asset set; each returns false when a file cannot be written.
const std::vector<AssetStep>& AssetSteps();

// Draws every picture below installDir with its path into one PNG.
bool WriteContactSheet(const std::string& installDir, const std::string& outPath);

}  // namespace qv::tools
