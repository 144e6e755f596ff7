#pragma once

// The show on the engine's null driver, started once per process in an
// empty folder, for the targets that load pictures the way its scene does.
// The working folder is changed only for as long as a Visit lives, so that
// the fuzzer's own relative paths keep their meaning.

#include "show/show.h"
#include "show/show_state.h"
#include "tests/fuzz/fuzz_support.h"

#include <fcntl.h>

namespace fuzz {

class Visit {
public:
    explicit Visit(const std::filesystem::path& folder) : Back(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        require(Back >= 0 && ::chdir(folder.c_str()) == 0, "the scratch folder can be entered");
    }
    ~Visit() {
        require(::fchdir(Back) == 0, "the working folder can be entered again");
        ::close(Back);
    }
    Visit(const Visit&) = delete;
    Visit& operator=(const Visit&) = delete;

private:
    int Back;
};

inline void startShowOnce() {
    static const bool started = [] {
        const Visit visit(freshFolder("empty"));
        ShowSettings settings;
        settings.PixelsUsed = schema::kMinPixels;
        settings.UseBackground = false;
        return startHeadlessShow(settings, 1);
    }();
    require(started, "the show starts on the null driver");
}

// Lets go of every picture and archive an input brought in.
inline void forgetInput() {
    irr::io::IFileSystem& files = *Show.Device.FileSystem;
    while (files.getFileArchiveCount() > 0)
        files.removeFileArchive(0u);
    Show.Device.VideoDriver->removeAllTextures();
}

} // namespace fuzz
