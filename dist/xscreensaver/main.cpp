// quorvel3d-xscreensaver-add: puts Quorvel 3D into the user's xscreensaver
// list, once.

#include "dist/xscreensaver/dot_file.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kName = "quorvel3d-xscreensaver-add";
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

void printUsage(std::FILE* out) {
    std::fprintf(out,
                 "Usage: %s [--file PATH]\n"
                 "Adds Quorvel 3D to the screen savers listed in ~/.xscreensaver (or PATH),\n"
                 "unless it is there already. Nothing else in the file changes.\n",
                 kName);
}

} // namespace

int main(int argc, char* argv[]) {
    std::filesystem::path file;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        printUsage(stdout);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--file") == 0 && *argv[2]) {
        file = argv[2];
    } else if (argc != 1) {
        printUsage(stderr);
        return kBadUsage;
    } else {
        file = xscreensaver::defaultFile();
        if (file.empty()) {
            std::fprintf(stderr, "%s: cannot tell your home folder; name the file with --file\n", kName);
            return kFailed;
        }
    }

    const xscreensaver::AddResult result = xscreensaver::addQuorvelEntry(file);
    const char* path = result.File.c_str();
    switch (result.What) {
    case xscreensaver::Outcome::AlreadyListed:
        std::printf("Quorvel 3D is already listed in %s; nothing changed.\n", path);
        return 0;
    case xscreensaver::Outcome::Added:
        std::printf("Added Quorvel 3D to the list in %s.\n", path);
        break;
    case xscreensaver::Outcome::Created:
        std::printf("Created %s listing Quorvel 3D; xscreensaver keeps its defaults for the rest.\n", path);
        break;
    case xscreensaver::Outcome::Failed:
        std::fprintf(stderr, "%s: %s: %s\n", kName, path, result.Problem.c_str());
        return kFailed;
    }
    std::printf("Choose \"Quorvel 3D\" in xscreensaver-settings.\n");
    return 0;
}
