// Prints the settings as the show loads them, one "Name=value" a line, so the
// launcher's end-to-end script can check what the next show will read.

#include "settings/show_settings.h"

#include <cstdio>

int main() {
    const ShowSettings s = loadSettings();
    std::printf("PixelsUsed=%d\nPixelsSize=%g\nPixelsColor=%d\nUseLighting=%d\n"
                "CameraDistance=%g\nCameraSpeed=%g\nUseBackground=%d\n",
                s.PixelsUsed, static_cast<double>(s.PixelsSize), s.PixelsColor, s.UseLighting ? 1 : 0,
                static_cast<double>(s.CameraDistance), static_cast<double>(s.CameraSpeed),
                s.UseBackground ? 1 : 0);
    return 0;
}
