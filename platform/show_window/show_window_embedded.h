#pragma once

// The show inside a window another program owns: a screen-saver daemon's
// full-screen window or a settings dialog's preview. The engine cannot draw
// into a window of any visual, so the show draws into a child window of its
// own, made with the visual of the GLX configuration the engine will choose.

#include "platform/show_window/screen.h"

#include <irrlicht.h>

namespace platform {

// What the engine is asked for; the child's configuration must be the one
// the engine picks with the same request.
struct EngineVisualRequest {
    int DepthBits = 16;
    bool Stencil = false;
};

class EmbeddedWindow {
public:
    // Makes and maps the child of HOST on the show's own connection and
    // watches HOST; check isOpen. Until the process ends, X errors no longer
    // end it: a host window that goes away under the engine is noticed by
    // update() instead.
    EmbeddedWindow(const DisplayConnection& connection, unsigned long host, EngineVisualRequest request);
    ~EmbeddedWindow();
    EmbeddedWindow(const EmbeddedWindow&) = delete;
    EmbeddedWindow& operator=(const EmbeddedWindow&) = delete;

    bool isOpen() const { return Child != 0; }
    unsigned long handle() const { return Child; }
    // The child as the engine's creation parameters name a window.
    void* engineWindowId() const { return reinterpret_cast<void*>(Child); }
    int width() const { return Width; }   // pixels
    int height() const { return Height; } // pixels

    // Lets the engine's own connection see the child's resizes, so that it
    // adjusts its viewport.
    void shareWithEngine(irr::video::IVideoDriver& driver);

    // The engine leaves open the connection it opened for a window it was
    // handed; this closes it once the engine's device is gone.
    void closeEngineConnection();

    // Takes in what happened to the host since the last call: the child
    // follows its size; it may have been hidden, shown or destroyed.
    void update();
    bool hostVisible() const { return Visible; }
    bool hostGone() const { return Gone; }

    int connectionFd() const; // readable when the host has news

private:
    void take(const void* event);
    bool childExists() const;

    void* Dpy = nullptr;
    void* EngineDpy = nullptr;
    unsigned long Host = 0;
    unsigned long Child = 0;
    unsigned long Colormap = 0;
    int Width = 0;
    int Height = 0;
    bool Visible = false;
    bool Gone = false;
    unsigned ErrorsSeen = 0;
};

} // namespace platform
