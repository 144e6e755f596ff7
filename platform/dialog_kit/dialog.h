#pragma once

// A small modal-dialog framework, over Qt Widgets on Linux and over the
// system's dialog manager on Windows. A dialog class derives from Dialog and
// receives everything through its one dispatch operation; the controls of
// its template are addressed by their numeric ids, as the dialog templates
// number them.

#ifdef _WIN32
struct HWND__;
#else
class QDialog;
class QWidget;
#endif

namespace platform {

#ifdef _WIN32
using Window = HWND__*;

// A dialog resource of the program, compiled from its resource script.
struct DialogTemplate {
    int Id;
};
#else
using Window = QWidget*;

// Builds a template's controls into an empty dialog window and gives the
// window its size. Every control that the dialog addresses carries its id in
// the dynamic property named kControlIdProperty.
struct DialogTemplate {
    int Id;
    void (*Build)(QDialog& window);
};
#endif

inline constexpr const char* kControlIdProperty = "controlId";

// Command ids that the platform itself sends: Enter on the default button
// and Escape or the close box.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

inline constexpr int kNotifyClicked = 0;          // push button or check box
inline constexpr int kNotifySelectionChanged = 1; // drop-down list

enum class DialogMessage { Init, Command };

struct DialogEvent {
    DialogMessage Message = DialogMessage::Init;
    int ControlId = 0;
    int Notification = 0;
};

// A list position that is not set, as lists report it.
inline constexpr int kNoSelection = -1;

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Shows the dialog modally, owned by owner (which may be null), and gives
    // the result that endDialog set.
    int doModal(const DialogTemplate& dialogTemplate, Window owner);

    // The one dispatch operation. Gives true when the event was handled; an
    // Init that is handled also puts the focus on the first tab stop. Events
    // that are not handled get the default treatment, which does nothing.
    virtual bool processMessage(const DialogEvent& event) = 0;

    // The dialog's window while it is shown, else null.
    Window window() const;

protected:
    void endDialog(int result);

    void addListString(int controlId, const char* label);
    void setListSelection(int controlId, int position);
    int listSelection(int controlId) const;

    void setCheck(int controlId, bool checked);
    bool isChecked(int controlId) const;

    // Centres the dialog over its owner, or on the work area when it has no
    // visible, unminimised owner, and keeps it inside the work area.
    void centerWindow();

private:
#ifdef _WIN32
    friend class DialogHost; // the dialog procedure
    Window Handle = nullptr;
#else
    QDialog* Handle = nullptr;
#endif
};

// The window that has the user's attention at this moment, or null.
Window activeWindow();

// Rectangles as the centring rule uses them: right and bottom are exclusive.
struct Rect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const Rect&) const = default;
};

struct Point {
    int X = 0;
    int Y = 0;
    bool operator==(const Point&) const = default;
};

// Where a window of the given size goes when centred on centre and kept
// inside area. The left and top edges win when the window is larger than
// the area.
Point centredPosition(int width, int height, const Rect& centre, const Rect& area);

} // namespace platform
