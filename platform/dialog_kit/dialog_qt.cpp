#include "platform/dialog_kit/dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QScreen>

#include <functional>
#include <utility>

// After the Qt headers: Xlib defines macros that Qt's names would meet.
#include <X11/Xlib.h>

namespace platform {
namespace {

// The window the dialog lives in. Escape and the close box arrive here as
// reject(), which becomes the Cancel command, as dialogs have always sent it.
class DialogWindow final : public QDialog {
public:
    DialogWindow(Window owner, Dialog& dialog) : QDialog(owner), Owner(dialog) {}

    void reject() override {
        Owner.processMessage({DialogMessage::Command, kIdCancel, kNotifyClicked});
    }

    // Set when the dialog was placed before its frame was known.
    std::function<void()> RecentreOnShow;

protected:
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        if (const auto recentre = std::exchange(RecentreOnShow, nullptr))
            recentre();
    }

private:
    Dialog& Owner;
};

// The dialog's own controls; a dialog it owns is a child object too, but its
// controls are not this dialog's.
QList<QWidget*> controlsOf(const QDialog& window) {
    QList<QWidget*> controls;
    for (QWidget* child : window.findChildren<QWidget*>())
        if (child->window() == &window && child->property(kControlIdProperty).isValid())
            controls.append(child);
    return controls;
}

int idOf(const QWidget& control) { return control.property(kControlIdProperty).toInt(); }

QWidget* findControl(const QDialog* window, int controlId) {
    if (!window)
        return nullptr;
    for (QWidget* control : controlsOf(*window))
        if (idOf(*control) == controlId)
            return control;
    return nullptr;
}

template <typename Control>
Control* findControlAs(const QDialog* window, int controlId) {
    return qobject_cast<Control*>(findControl(window, controlId));
}

void wireControls(QDialog& window, Dialog& dialog) {
    for (QWidget* child : controlsOf(window)) {
        const int id = idOf(*child);
        if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            QObject::connect(button, &QAbstractButton::clicked, &window, [&dialog, id] {
                dialog.processMessage({DialogMessage::Command, id, kNotifyClicked});
            });
        } else if (auto* list = qobject_cast<QComboBox*>(child)) {
            QObject::connect(list, &QComboBox::activated, &window, [&dialog, id] {
                dialog.processMessage({DialogMessage::Command, id, kNotifySelectionChanged});
            });
        }
    }
}

// The frame a window asks the window manager for, in the Motif hints that
// X window managers read (a property of five 32-bit numbers).
struct MotifHints {
    long Flags;
    long Functions;
    long Decorations;
    long InputMode;
    long WindowState;
};
constexpr long kMotifFunctionsAndDecorations = 1 | 2;
constexpr long kMotifFunctionMove = 4;
constexpr long kMotifFunctionClose = 32;
constexpr long kMotifDecorationBorder = 2;
constexpr long kMotifDecorationTitle = 8;
constexpr long kMotifDecorationMenu = 16;
constexpr int kMotifHintsCount = 5;

// Qt's X11 plugin asks for a resizable frame whatever the flags say; a fixed
// dialog frame can be moved and closed, no more. Other platforms take the
// window flags alone.
void askForFixedFrameOnX11(QDialog& window) {
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return;
    Display* display = x11->display();
    MotifHints hints{kMotifFunctionsAndDecorations, kMotifFunctionMove | kMotifFunctionClose,
                     kMotifDecorationBorder | kMotifDecorationTitle | kMotifDecorationMenu, 0, 0};
    const Atom property = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, static_cast<::Window>(window.winId()), property, property, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), kMotifHintsCount);
    XFlush(display);
}

// A fixed frame with a caption, a system menu and a close box, nothing else.
void setDialogFrame(QDialog& window) {
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    window.setFixedSize(window.size());
    askForFixedFrameOnX11(window);
}

void focusFirstTabStop(QDialog& window) {
    QWidget* candidate = window.nextInFocusChain();
    while (candidate && candidate != &window) {
        if ((candidate->focusPolicy() & Qt::TabFocus) && candidate->isEnabled()) {
            candidate->setFocus(Qt::TabFocusReason);
            return;
        }
        candidate = candidate->nextInFocusChain();
    }
}

Rect toRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

Rect workArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? toRect(screen->availableGeometry()) : Rect{};
}

QMargins marginsOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

// The frame the window will have. Before it is shown the window manager has
// not told us; the owner's frame comes from the same window manager and is
// the best guess then.
QMargins expectedFrame(const QWidget& window, const QWidget* owner) {
    if (window.isVisible())
        return marginsOf(window);
    return owner ? marginsOf(*owner) : QMargins();
}

} // namespace

int Dialog::doModal(const DialogTemplate& dialogTemplate, Window owner) {
    DialogWindow window(owner, *this);
    dialogTemplate.Build(window);
    setDialogFrame(window);
    wireControls(window, *this);

    Handle = &window;
    if (processMessage({DialogMessage::Init, 0, 0}))
        focusFirstTabStop(window);
    const int result = window.exec();
    Handle = nullptr;
    return result;
}

Window Dialog::window() const { return Handle; }

void Dialog::endDialog(int result) {
    if (Handle)
        Handle->done(result);
}

void Dialog::addListString(int controlId, const char* label) {
    if (auto* list = findControlAs<QComboBox>(Handle, controlId))
        list->addItem(QString::fromLatin1(label));
}

void Dialog::setListSelection(int controlId, int position) {
    if (auto* list = findControlAs<QComboBox>(Handle, controlId))
        list->setCurrentIndex(position < list->count() ? position : kNoSelection);
}

int Dialog::listSelection(int controlId) const {
    const auto* list = findControlAs<QComboBox>(Handle, controlId);
    return list ? list->currentIndex() : kNoSelection;
}

void Dialog::setCheck(int controlId, bool checked) {
    if (auto* box = findControlAs<QCheckBox>(Handle, controlId))
        box->setChecked(checked);
}

bool Dialog::isChecked(int controlId) const {
    const auto* box = findControlAs<QCheckBox>(Handle, controlId);
    return box && box->isChecked();
}

void Dialog::centerWindow() {
    if (!Handle)
        return;
    Rect centre;
    Rect area;
    const QWidget* owner = nullptr;
    if (!Handle->isWindow()) {
        area = toRect(Handle->parentWidget()->rect());
        centre = area;
    } else {
        owner = Handle->parentWidget() ? Handle->parentWidget()->window() : nullptr;
        if (owner && (!owner->isVisible() || owner->isMinimized()))
            owner = nullptr;
        area = workArea();
        centre = owner ? toRect(owner->frameGeometry()) : area;
    }
    const QMargins frame = expectedFrame(*Handle, owner);
    const QSize size = Handle->size().grownBy(frame);
    const Point position = centredPosition(size.width(), size.height(), centre, area);
    Handle->move(position.X, position.Y); // the frame's corner

    // Some platforms know the frame once the window is shown; others tell
    // later, and the guess stands.
    if (!Handle->isVisible()) {
        static_cast<DialogWindow*>(Handle)->RecentreOnShow = [this, frame] {
            const QMargins actual = marginsOf(*Handle);
            if (!actual.isNull() && actual != frame)
                centerWindow();
        };
    }
}

Window activeWindow() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    // Window managers report activation late; the modal dialog on top is the
    // one the user is working in.
    return QApplication::activeModalWidget();
}

} // namespace platform
