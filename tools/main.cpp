// qv_assetgen: writes the whole installation directory, or a contact sheet of one.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/asset_steps.h"

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--contact-sheet") == 0) {
        if (!qv::tools::WriteContactSheet(argv[2], argv[3])) {
            std::fprintf(stderr, "qv_assetgen: cannot write the contact sheet %s\n", argv[3]);
            return 1;
        }
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: qv_assetgen <output-dir>\n"
                     "       qv_assetgen --contact-sheet <install-dir> <out.png>\n");
        return 2;
    }
    const std::string root = argv[1];
    for (const qv::tools::AssetStep& step : qv::tools::AssetSteps()) {
        if (!step.run(root)) {
            std::fprintf(stderr, "qv_assetgen: failed to write %s below %s\n", step.name, argv[1]);
            return 1;
        }
    }
    return 0;
}
