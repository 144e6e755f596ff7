#include "launcher/about_dialog.h"
#include "launcher/licence.h"
#include "launcher/templates.h"
#include "settings/schema.h"
#include "tests/launcher_test_support.h"
#include "tests/support/temp_config.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace testing_launcher;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLimit = launcher::kLicenceMaxChars;

struct LauncherLicence : ::testing::Test {
    TempConfig config;
    fs::path install = config.root() / "install";

    void SetUp() override { fs::create_directories(install); }
    std::string installDir() const { return install.string() + "/"; }
    void writeLicence(const std::string& bytes) const { TempConfig::writeAll(install / "License.txt", bytes); }
    std::optional<std::string> read() const { return launcher::readLicence(installDir().c_str()); }
};

TEST_F(LauncherLicence, ShowsAtMostItsLimitOfCharacters) {
    const std::string whole(kLimit, 'a');
    writeLicence(whole);
    EXPECT_EQ(read(), whole);

    writeLicence(std::string(20000, 'b'));
    EXPECT_EQ(read(), std::string(kLimit, 'b'));
}

TEST_F(LauncherLicence, CrLfCountsAsOneCharacter) {
    std::string file;
    std::string text;
    for (std::size_t line = 0; line < kLimit / 2 + 10; ++line) {
        file += "x\r\n";
        text += "x\n";
    }
    writeLicence("a\rb" + file);
    EXPECT_EQ(read(), ("a\rb" + text).substr(0, kLimit));
}

TEST_F(LauncherLicence, EmptyFileGivesEmptyText) {
    writeLicence("");
    EXPECT_EQ(read(), "");
}

TEST_F(LauncherLicence, MissingOrUnreadableFileIsNotFound) {
    EXPECT_EQ(read(), std::nullopt);
    fs::create_directories(install / "License.txt");
    EXPECT_EQ(read(), std::nullopt);
}

TEST_F(LauncherLicence, FileNameFollowsTheDirectoryWithoutASeparator) {
    TempConfig::writeAll(config.root() / "installLicense.txt", "joined");
    writeLicence("inside");
    EXPECT_EQ(launcher::readLicence(install.string().c_str()), "joined");
}

TEST_F(LauncherLicence, PathLongerThanItsBufferIsNotFound) {
    // 500 characters of directory leave room for the name and the zero; 501 do not.
    const std::string fits = "/" + std::string(498, 'd') + "/";
    const std::string tooLong = "/" + std::string(499, 'd') + "/";
    ASSERT_EQ(fits.size() + std::string("License.txt").size() + 1, launcher::kLicencePathSize);
    EXPECT_EQ(launcher::readLicence(tooLong.c_str()), std::nullopt);
    EXPECT_EQ(launcher::readLicence(fits.c_str()), std::nullopt); // fits, but no such file
}

struct LauncherAboutBox : LauncherLicence {
    MessageRecorder messages;
    AddressRecorder addresses;

    void run(const std::function<void(QDialog&)>& act) {
        onNextModal(act);
        launcher::AboutDialog about;
        EXPECT_EQ(about.doModal(launcher::aboutTemplate(), nullptr), 0);
    }
    void clickLicense() {
        run([](QDialog& about) {
            button(about, launcher::kIdLicenseButton)->click();
            EXPECT_TRUE(about.isVisible());
            button(about, platform::kIdCancel)->click();
        });
    }
};

TEST_F(LauncherAboutBox, ShowsTheLicenceInAnInformationBoxOwnedByIt) {
    storeText(schema::kInstallDir, installDir());
    writeLicence("Permission is granted.\r\n");
    QDialog* shownBy = nullptr;
    run([&](QDialog& about) {
        shownBy = &about;
        button(about, launcher::kIdLicenseButton)->click();
        button(about, platform::kIdCancel)->click();
    });
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].Text, "Permission is granted.\n");
    EXPECT_EQ(messages.Messages[0].Caption, "License");
    EXPECT_EQ(messages.Messages[0].Icon, platform::MessageIcon::Information);
    EXPECT_EQ(messages.Messages[0].Owner, shownBy);
}

TEST_F(LauncherAboutBox, MissingLicenceIsReportedAndAbsentInstallDirIsCreated) {
    clickLicense();
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].Text, "License file not found!\nPlease reinstall the application!");
    EXPECT_EQ(messages.Messages[0].Caption, "Error");
    EXPECT_EQ(messages.Messages[0].Icon, platform::MessageIcon::Error);
    const std::optional<StoredValue> dir = stored(schema::kInstallDir);
    ASSERT_TRUE(dir);
    EXPECT_EQ(dir->Bytes, std::string(1, '\0'));
}

TEST_F(LauncherAboutBox, EmptyLicenceShowsAnEmptyBox) {
    storeText(schema::kInstallDir, installDir());
    writeLicence("");
    clickLicense();
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].Text, "");
    EXPECT_EQ(messages.Messages[0].Caption, "License");
}

// The real box this time, not the recorder.
TEST_F(LauncherLicence, BoxShowsMarkupAsTheCharactersOfTheFile) {
    const std::string text = "<h1>Quorvel 3D</h1> licence <b>terms</b> &amp; more\n<i>second line</i>\n";
    storeText(schema::kInstallDir, installDir());
    writeLicence(text);
    bool shown = false;
    Qt::TextFormat format = Qt::AutoText;
    QString shownText;
    onNextModal([&](QDialog& about) {
        onNextModal([&](QDialog& box) {
            if (const auto* label = box.findChild<QLabel*>("qt_msgbox_label")) {
                shown = true;
                format = label->textFormat();
                shownText = label->text();
            }
            box.done(0);
        });
        button(about, launcher::kIdLicenseButton)->click();
        button(about, platform::kIdCancel)->click();
    });
    launcher::AboutDialog about;
    about.doModal(launcher::aboutTemplate(), nullptr);
    ASSERT_TRUE(shown);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shownText.toStdString(), text);
}

TEST_F(LauncherAboutBox, HomePageButtonsHandTheirAddressesToTheBrowser) {
    run([](QDialog& about) {
        button(about, launcher::kIdProductPageButton)->click();
        button(about, launcher::kIdMakerPageButton)->click();
        EXPECT_TRUE(about.isVisible());
        QTest::keyClick(&about, Qt::Key_Escape);
    });
    EXPECT_EQ(addresses.Addresses,
              (std::vector<std::string>{launcher::kProductHomePage, launcher::kMakerHomePage}));
    EXPECT_NE(addresses.Owners.at(0), nullptr);
}

} // namespace
