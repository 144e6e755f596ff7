// qvassets <outdir>: draws the show's pictures and packs its archive into
// outdir, which is laid out like the install directory.

#include "tools/assets/asset_set.h"

#include <cstdio>
#include <exception>

namespace {
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qvassets <outdir>\n");
        return kExitUsage;
    }
    try {
        assets::writeAssetSet(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qvassets: %s\n", error.what());
        return kExitFailure;
    }
    return 0;
}
