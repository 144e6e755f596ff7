#include "launcher/choice_table.h"
#include "launcher/templates.h"
#include "platform/dialog_kit/dialog.h"
#include "tests/launcher_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace testing_launcher;
using platform::centredPosition;
using platform::DialogEvent;
using platform::DialogMessage;
using platform::Point;
using platform::Rect;

namespace platform {
void PrintTo(const Point& p, std::ostream* out) { *out << '(' << p.X << ", " << p.Y << ')'; }
} // namespace platform

namespace {

TEST(LauncherCentring, CentresOnTheCentreRectangle) {
    const Rect area{0, 0, 1000, 800};
    EXPECT_EQ(centredPosition(200, 100, area, area), (Point{400, 350}));
    EXPECT_EQ(centredPosition(201, 101, Rect{100, 100, 301, 201}, area), (Point{100, 100}));
}

TEST(LauncherCentring, StaysInsideTheArea) {
    const Rect area{10, 20, 1000, 800};
    EXPECT_EQ(centredPosition(300, 200, Rect{0, 0, 100, 100}, area), (Point{10, 20}));
    EXPECT_EQ(centredPosition(300, 200, Rect{900, 700, 1000, 800}, area), (Point{700, 600}));
    // Larger than the area: the left and top edges win.
    EXPECT_EQ(centredPosition(2000, 1000, area, area), (Point{10, 20}));
}

TEST(LauncherCentring, DividesTruncatingTowardsZero) {
    const Rect area{-1000, -1000, 1000, 1000};
    EXPECT_EQ(centredPosition(3, 3, Rect{-3, -3, 0, 0}, area), (Point{-2, -2}));
}

// Records what the options template sends and ends on OK.
class Recorder final : public platform::Dialog {
public:
    std::vector<DialogEvent> Events;
    bool HandleInit = true;

    bool processMessage(const DialogEvent& event) override {
        Events.push_back(event);
        if (event.Message == DialogMessage::Init) {
            addListString(launcher::kIdCountList, "first");
            addListString(launcher::kIdCountList, "second");
            setListSelection(launcher::kIdCountList, 1);
            setCheck(launcher::kIdLightingCheck, true);
            return HandleInit;
        }
        if (event.ControlId == platform::kIdOk) {
            Selection = listSelection(launcher::kIdCountList);
            Lighting = isChecked(launcher::kIdLightingCheck);
            setListSelection(launcher::kIdCountList, 5);
            Beyond = listSelection(launcher::kIdCountList);
            Unknown = listSelection(4242);
            endDialog(7);
            return true;
        }
        return false;
    }
    int Selection = -2;
    bool Lighting = false;
    int Beyond = -2;
    int Unknown = -2;
};

TEST(LauncherDialogLayer, EventsReachTheOneDispatchOperation) {
    Recorder recorder;
    onNextModal([](QDialog& dialog) {
        checkBox(dialog, launcher::kIdBackgroundCheck)->click();
        QComboBox* count = list(dialog, launcher::kIdCountList);
        count->activated(0);
        // Unhandled, Escape and the close box leave the dialog open.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.close();
        EXPECT_TRUE(dialog.isVisible());
        button(dialog, platform::kIdOk)->click();
    });
    EXPECT_EQ(recorder.doModal(launcher::optionsTemplate(), nullptr), 7);

    const std::vector<std::pair<int, int>> expected = {
        {0, 0}, {launcher::kIdBackgroundCheck, 0}, {launcher::kIdCountList, 1},
        {platform::kIdCancel, 0}, {platform::kIdCancel, 0}, {platform::kIdOk, 0}};
    ASSERT_EQ(recorder.Events.size(), expected.size());
    EXPECT_EQ(recorder.Events[0].Message, DialogMessage::Init);
    for (std::size_t i = 1; i < expected.size(); ++i) {
        EXPECT_EQ(recorder.Events[i].Message, DialogMessage::Command);
        EXPECT_EQ(recorder.Events[i].ControlId, expected[i].first);
        EXPECT_EQ(recorder.Events[i].Notification, expected[i].second);
    }
    EXPECT_EQ(recorder.Selection, 1);
    EXPECT_TRUE(recorder.Lighting);
    EXPECT_EQ(recorder.Beyond, platform::kNoSelection);
    EXPECT_EQ(recorder.Unknown, platform::kNoSelection);
    EXPECT_EQ(recorder.window(), nullptr);
}

TEST(LauncherDialogLayer, TemplatesKeepTheirTabOrderAndDefaultButtons) {
    const auto tabOrder = [](QDialog& dialog) {
        std::vector<int> ids;
        for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus)
                ids.push_back(w->property(platform::kControlIdProperty).toInt());
        return ids;
    };
    Recorder options;
    onNextModal([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Quorvel 3D Options");
        EXPECT_EQ(tabOrder(dialog), (std::vector<int>{1, 2, 106, 1019, 1020, 1021, 1022, 1023, 1024, 1025}));
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_EQ(options.doModal(launcher::optionsTemplate(), nullptr), 7);

    struct Closer final : platform::Dialog {
        bool processMessage(const DialogEvent& event) override {
            if (event.Message == DialogMessage::Command && event.ControlId == platform::kIdCancel)
                endDialog(3);
            return true;
        }
    } about;
    onNextModal([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "About Quorvel 3D");
        EXPECT_EQ(tabOrder(dialog), (std::vector<int>{2, 102, 103, 104}));
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_EQ(about.doModal(launcher::aboutTemplate(), nullptr), 3);
}

// Centres itself when it opens, over whatever owner it was given.
class Centred final : public platform::Dialog {
public:
    bool processMessage(const DialogEvent& event) override {
        if (event.Message == DialogMessage::Init)
            centerWindow();
        else if (event.ControlId == platform::kIdCancel)
            endDialog(0);
        return true;
    }
};

TEST(LauncherDialogLayer, HiddenOrMinimisedOwnerCountsAsNone) {
    QWidget owner;
    owner.setGeometry(0, 0, 200, 150);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const auto expectOnWorkArea = [&] {
        onNextModal([&](QDialog& dialog) {
            const QRect frame = dialog.frameGeometry();
            EXPECT_EQ(frame.x(), (area.left() * 2 + area.width()) / 2 - frame.width() / 2);
            dialog.close();
        });
        Centred dialog;
        dialog.doModal(launcher::aboutTemplate(), &owner);
    };
    expectOnWorkArea();
    owner.showMinimized();
    expectOnWorkArea();
}

} // namespace
