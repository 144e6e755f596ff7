#include "launcher/about_dialog.h"
#include "launcher/choice_table.h"
#include "launcher/main_dialog.h"
#include "launcher/templates.h"
#include "settings/schema.h"
#include "tests/launcher_test_support.h"
#include "tests/support/temp_config.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace testing_launcher;
using launcher::kIdBackgroundCheck;
using launcher::kIdColorList;
using launcher::kIdCountList;
using launcher::kIdDistanceList;
using launcher::kIdLightingCheck;
using launcher::kIdSizeList;
using launcher::kIdSpeedList;

namespace {

constexpr std::array<int, 5> kListIds = {kIdCountList, kIdSizeList, kIdColorList, kIdDistanceList, kIdSpeedList};

struct Shown {
    std::array<std::string, 5> Lists;
    bool Background = false;
    bool Lighting = false;
};

struct LauncherOptionsDialog : ::testing::Test {
    TempConfig config;

    // Opens the options dialog, lets act drive it, and gives what it showed
    // when it opened.
    Shown run(const std::function<void(QDialog&)>& act) {
        Shown shown;
        onNextModal([&](QDialog& dialog) {
            for (std::size_t i = 0; i < kListIds.size(); ++i)
                shown.Lists[i] = list(dialog, kListIds[i])->currentText().toStdString();
            shown.Background = checkBox(dialog, kIdBackgroundCheck)->isChecked();
            shown.Lighting = checkBox(dialog, kIdLightingCheck)->isChecked();
            act(dialog);
        });
        launcher::MainDialog dialog;
        EXPECT_EQ(dialog.doModal(launcher::optionsTemplate(), nullptr), 0);
        return shown;
    }

    static void cancel(QDialog& dialog) { button(dialog, platform::kIdCancel)->click(); }
    static void ok(QDialog& dialog) { button(dialog, platform::kIdOk)->click(); }
    static void choose(QDialog& dialog, int listId, const char* label) {
        QComboBox* box = list(dialog, listId);
        box->setCurrentIndex(box->findText(QString::fromLatin1(label)));
    }

    static void expectDefaultsStored() {
        EXPECT_EQ(storedDword(schema::kPixelsUsed), 1024u);
        EXPECT_EQ(storedDword(schema::kPixelsSize), 0x40000000u);
        EXPECT_EQ(storedDword(schema::kPixelsColor), 0u);
        EXPECT_EQ(storedDword(schema::kCameraDistance), 0x430C0000u);
        EXPECT_EQ(storedDword(schema::kCameraSpeed), 0x3A03126Fu);
        EXPECT_EQ(storedDword(schema::kUseBackground), 1u);
        EXPECT_EQ(storedDword(schema::kUseLighting), 0u);
    }
};

const Shown kDefaults{{"Medium", "Normal", "Random", "Normal", "Normal"}, true, false};

void expectShown(const Shown& actual, const Shown& expected) {
    EXPECT_EQ(actual.Lists, expected.Lists);
    EXPECT_EQ(actual.Background, expected.Background);
    EXPECT_EQ(actual.Lighting, expected.Lighting);
}

TEST_F(LauncherOptionsDialog, EmptyStoreShowsTheDefaultsAndKeepsThemAfterCancel) {
    expectShown(run(cancel), kDefaults);
    expectDefaultsStored();
}

TEST_F(LauncherOptionsDialog, FocusStartsOnOk) {
    run([](QDialog& dialog) {
        EXPECT_EQ(dialog.focusWidget(), button(dialog, platform::kIdOk));
        cancel(dialog);
    });
}

TEST_F(LauncherOptionsDialog, OkWithoutChangesRewritesTheSameDataAsDwords) {
    // Four raw bytes of another type are read as they are and come back as DWORDs.
    storeBinary(schema::kPixelsUsed, std::string("\x00\x08\x00\x00", 4));
    storeDword(schema::kPixelsSize, 0x41000000);
    storeDword(schema::kPixelsColor, 5);
    storeDword(schema::kCameraDistance, 0x435C0000);
    storeDword(schema::kCameraSpeed, 0x3A83126F);
    storeDword(schema::kUseBackground, 0);
    storeDword(schema::kUseLighting, 1);
    const Shown expected{{"High", "Huge", "Purple", "Far", "Fast"}, false, true};

    expectShown(run(ok), expected);
    EXPECT_EQ(storedDword(schema::kPixelsUsed), 2048u);
    EXPECT_EQ(storedDword(schema::kPixelsSize), 0x41000000u);
    EXPECT_EQ(storedDword(schema::kPixelsColor), 5u);
    EXPECT_EQ(storedDword(schema::kCameraDistance), 0x435C0000u);
    EXPECT_EQ(storedDword(schema::kCameraSpeed), 0x3A83126Fu);
    EXPECT_EQ(storedDword(schema::kUseBackground), 0u);
    EXPECT_EQ(storedDword(schema::kUseLighting), 1u);
    expectShown(run(cancel), expected);
}

TEST_F(LauncherOptionsDialog, ChosenEntriesAreStoredAndSelectedAgain) {
    run([](QDialog& dialog) {
        choose(dialog, kIdSpeedList, "Slow");
        choose(dialog, kIdCountList, "Very Low");
        choose(dialog, kIdColorList, "Green");
        checkBox(dialog, kIdLightingCheck)->click();
        checkBox(dialog, kIdBackgroundCheck)->click();
        ok(dialog);
    });
    EXPECT_EQ(storedDword(schema::kCameraSpeed), 0x3983126Fu);
    EXPECT_EQ(storedDword(schema::kPixelsUsed), 256u);
    EXPECT_EQ(storedDword(schema::kPixelsColor), 6u);
    EXPECT_EQ(storedDword(schema::kUseLighting), 1u);
    EXPECT_EQ(storedDword(schema::kUseBackground), 0u);
    expectShown(run(cancel), {{"Very Low", "Normal", "Green", "Normal", "Slow"}, false, true});
}

TEST_F(LauncherOptionsDialog, FloatsMatchOnlyTheirExactBits) {
    storeDword(schema::kPixelsSize, 0x40800000);
    EXPECT_EQ(run(cancel).Lists[1], "Large");

    // 3.0 is no entry: the default entry shows, and the stored value stays.
    storeDword(schema::kPixelsSize, 0x40400000);
    storeDword(schema::kCameraDistance, 0x7FC00000); // a NaN
    const Shown shown = run(cancel);
    EXPECT_EQ(shown.Lists[1], "Normal");
    EXPECT_EQ(shown.Lists[3], "Normal");
    EXPECT_EQ(storedDword(schema::kPixelsSize), 0x40400000u);
}

TEST_F(LauncherOptionsDialog, UnmatchedNumberShowsTheDefaultEntryWhichOkStores) {
    storeDword(schema::kPixelsUsed, 300);
    storeDword(schema::kPixelsColor, 0xFFFFFFFF);
    const Shown shown = run(ok);
    EXPECT_EQ(shown.Lists[0], "Medium");
    EXPECT_EQ(shown.Lists[2], "Random");
    EXPECT_EQ(storedDword(schema::kPixelsUsed), 1024u);
    EXPECT_EQ(storedDword(schema::kPixelsColor), 0u);
}

TEST_F(LauncherOptionsDialog, CheckBoxIsOnOnlyAtExactlyOne) {
    storeDword(schema::kUseBackground, 2);
    storeDword(schema::kUseLighting, 0xFFFFFFFF);
    const Shown shown = run(ok);
    EXPECT_FALSE(shown.Background);
    EXPECT_FALSE(shown.Lighting);
    EXPECT_EQ(storedDword(schema::kUseBackground), 0u);
    EXPECT_EQ(storedDword(schema::kUseLighting), 0u);
}

TEST_F(LauncherOptionsDialog, ValueLongerThanFourBytesIsReplacedByItsDefault) {
    storeText(schema::kPixelsUsed, "2048 balls");
    EXPECT_EQ(run(cancel).Lists[0], "Medium");
    EXPECT_EQ(storedDword(schema::kPixelsUsed), 1024u);
}

TEST_F(LauncherOptionsDialog, EnterSavesWhileEscapeAndTheCloseBoxDoNot) {
    const auto chooseHugeThen = [](const std::function<void(QDialog&)>& close) {
        return [close](QDialog& dialog) {
            choose(dialog, kIdSizeList, "Huge");
            close(dialog);
        };
    };
    run(chooseHugeThen([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }));
    EXPECT_EQ(storedDword(schema::kPixelsSize), 0x40000000u);
    run(chooseHugeThen([](QDialog& dialog) { dialog.close(); }));
    EXPECT_EQ(storedDword(schema::kPixelsSize), 0x40000000u);
    run(chooseHugeThen([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); }));
    EXPECT_EQ(storedDword(schema::kPixelsSize), 0x41000000u);
}

TEST_F(LauncherOptionsDialog, IsCentredOnTheWorkArea) {
    run([](QDialog& dialog) {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = dialog.frameGeometry();
        EXPECT_EQ(frame.x(), (area.left() + area.left() + area.width()) / 2 - frame.width() / 2);
        EXPECT_EQ(frame.y(), (area.top() + area.top() + area.height()) / 2 - frame.height() / 2);
        cancel(dialog);
    });
}

TEST_F(LauncherOptionsDialog, AboutBoxOpensCentredOverItAndLeavesItsControlsAlone) {
    storeDword(schema::kPixelsColor, 3);
    const Shown shown = run([](QDialog& options) {
        options.move(options.x() - 37, options.y() + 11);
        onNextModal([&options](QDialog& about) {
            EXPECT_EQ(about.parentWidget(), &options);
            EXPECT_EQ(about.windowTitle().toStdString(), "About Quorvel 3D");
            const QRect owner = options.frameGeometry();
            const QRect frame = about.frameGeometry();
            EXPECT_EQ(frame.x(), (owner.left() + owner.left() + owner.width()) / 2 - frame.width() / 2);
            EXPECT_EQ(frame.y(), (owner.top() + owner.top() + owner.height()) / 2 - frame.height() / 2);
            EXPECT_EQ(about.focusWidget(), button(about, platform::kIdCancel));
            QTest::keyClick(&about, Qt::Key_Return);
        });
        button(options, launcher::kIdAboutButton)->click();
        EXPECT_TRUE(options.isVisible());
        EXPECT_EQ(list(options, kIdColorList)->currentText().toStdString(), "Blue");
        cancel(options);
    });
    EXPECT_EQ(shown.Lists[2], "Blue");
}

} // namespace
