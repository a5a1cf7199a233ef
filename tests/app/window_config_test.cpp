#include <QAction>
#include <QMenu>
#include <QTimer>

#include "window_fixture.h"

namespace {

// A window started in a folder that holds the shipped language files and,
// per test, a settings file and a skin.
class ConfiguredWindowTest : public WindowTest {
  protected:
    void PrepareFolder() override {
        QDir().mkpath("lang");
        for (const char* name : {"langList.txt", "English.txt", "German.txt"}) {
            QFile::copy(QStringLiteral(KAVEL_SOURCE_DIR "/lang/") + name,
                        QStringLiteral("lang/") + name);
        }
        if (settings) WriteBytes("settings.txt", *settings);
        if (skin) {
            QDir().mkpath("skin");
            QImage picture(4, 4, QImage::Format_RGB32);
            picture.fill(Qt::darkGreen);
            picture.save("skin/pic.bmp");
            WriteBytes("skin/skin.txt", *skin);
        }
    }

    std::optional<QByteArray> settings;
    std::optional<QByteArray> skin;
};

class FirstStartTest : public ConfiguredWindowTest {};

class GermanStartTest : public ConfiguredWindowTest {
  protected:
    void SetUp() override {
        settings = "lang/German.txt";
        ConfiguredWindowTest::SetUp();
    }
};

class EmptySettingsTest : public ConfiguredWindowTest {
  protected:
    void SetUp() override {
        settings = "";
        ConfiguredWindowTest::SetUp();
    }
};

class MetroSkinTest : public ConfiguredWindowTest {
  protected:
    void SetUp() override {
        settings = "lang/German.txt";
        skin = "UseMetro=1\n";
        // A second monitor, right of the first.
        platform.screen = QRect(1920, 0, 1366, 768);
        ConfiguredWindowTest::SetUp();
    }
};

// Started with two files on the command line and no language chosen yet.
class CommandLineFirstStartTest : public ConfiguredWindowTest {
  protected:
    void BeforeActivation() override {
        WriteBytes(Path("kavel.def"), SampleBytes("kavel.def"));
        WriteBytes(Path("textdb_en.def"), SampleBytes("textdb_en.def"));
        window->OpenWhenStarted(Path("kavel.def"), Path("textdb_en.def"));
    }
};

class OpaqueSkinTest : public ConfiguredWindowTest {
  protected:
    void SetUp() override {
        // Lines 4 to 11 stand for line 3's picture, 14 to 24 for line 13's colour.
        skin = "x\n$FF\nskin/pic.bmp\n\n\n\n\n\n\n\n\n0xFFFFFF\n0x00FF00\n";
        ConfiguredWindowTest::SetUp();
    }
};

}  // namespace

TEST_F(FirstStartTest, AsksForALanguageOnceAndListsTheLanguages) {
    EXPECT_EQ(platform.messageBoxes,
              QStringList{"Kavel.def Editor: Please select a language in combo box below."});
    ASSERT_EQ(window->cbLang->count(), 2);
    EXPECT_EQ(window->cbLang->itemText(1), "lang/German.txt");
    EXPECT_EQ(window->cbLang->currentText(), "Default");
    EXPECT_EQ(window->mmMainFile->title(), "&File");
}

TEST_F(FirstStartTest, PickingALanguageAppliesItAndRemembersTheChoice) {
    window->cbLang->setCurrentIndex(1);
    EXPECT_EQ(window->mmMainFile->title(), "&Datei");
    EXPECT_EQ(window->cbType->count(), 52);
    EXPECT_TRUE(window->cbType->itemText(2).startsWith("wint - "));
    EXPECT_EQ(ReadBytes("settings.txt"), "lang/German.txt");

    // A typed name that opens nothing falls back to "Default" at once.
    window->cbLang->setEditText("lang/Nope");
    EXPECT_EQ(window->cbLang->currentText(), "Standard");  // German for "Default"
    EXPECT_EQ(ReadBytes("settings.txt"), "lang/German.txt");
    EXPECT_EQ(window->mmMainFile->title(), "&Datei");
}

TEST_F(FirstStartTest, ALanguageFileWithABadCountKeepsTheLinesBeforeIt) {
    QByteArray file;
    for (int line = 1; line <= 44; ++line) file += line == 2 ? "&Akte\n" : "\n";
    file += "many\n";
    WriteBytes("lang/Broken.txt", file);
    window->cbLang->setEditText("lang/Broken.txt");
    Settle();
    EXPECT_EQ(window->mmMainFile->title(), "&Akte");
    EXPECT_EQ(platform.errorBoxes,
              QStringList{"Kavel.def Editor: 'many' is not a valid integer value."});
    EXPECT_FALSE(QFile::exists("settings.txt"));
    EXPECT_EQ(window->cbType->count(), 52);
}

TEST_F(GermanStartTest, TheRememberedLanguageIsAppliedAtStart) {
    EXPECT_TRUE(platform.messageBoxes.isEmpty());
    EXPECT_EQ(window->cbLang->currentText(), "lang/German.txt");
    EXPECT_EQ(window->mmMainEdit->title(), "&Bearbeiten");
    // Once a document is open the language can no longer change.
    OpenSample();
    EXPECT_FALSE(window->cbLang->isEnabled());
    EXPECT_TRUE(window->lbStatus2->text().startsWith(MessageTable().loadedDocuments));
}

TEST_F(EmptySettingsTest, AnEmptySettingsFileLeavesTheBuiltInTexts) {
    EXPECT_TRUE(platform.messageBoxes.isEmpty());
    EXPECT_EQ(window->cbLang->currentText(), "Default");
    EXPECT_EQ(window->mmMainFile->title(), "&File");
}

TEST_F(MetroSkinTest, ASingleMetroLineStopsAtTheFadeTargetWithAnError) {
    Settle();
    EXPECT_TRUE(window->useMetro());
    EXPECT_EQ(platform.errorBoxes,
              QStringList{"Kavel.def Editor: 'UseMetro=1' is not a valid integer value."});
    // The language steps were skipped.
    EXPECT_EQ(window->mmMainFile->title(), "&File");
    EXPECT_EQ(window->cbLang->count(), 0);
    // The first tick makes the window borderless, screen-sized and opaque.
    QTRY_VERIFY_WITH_TIMEOUT(!window->tmActivate->isActive(), 5000);
    EXPECT_EQ(window->windowOpacity(), 1.0);
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->geometry(), platform.screen);
}

TEST_F(CommandLineFirstStartTest, TheLanguageAskedForIsChosenBeforeTheFilesOpen) {
    EXPECT_EQ(platform.messageBoxes,
              QStringList{"Kavel.def Editor: Please select a language in combo box below."});
    // The list is open for the choice, and nothing has locked it yet.
    ASSERT_TRUE(window->cbLang->view()->isVisible());
    EXPECT_TRUE(window->cbLang->isEnabled());
    EXPECT_FALSE(window->document().isOpen());

    QTest::keyClick(window->cbLang->view(), Qt::Key_Down);
    QTest::keyClick(window->cbLang->view(), Qt::Key_Return);
    QTRY_VERIFY(window->document().isOpen());
    EXPECT_EQ(window->mmMainFile->title(), "&Datei");
    EXPECT_EQ(ReadBytes("settings.txt"), "lang/German.txt");
    EXPECT_FALSE(window->cbLang->isEnabled());
}

TEST_F(CommandLineFirstStartTest, ClosingTheListWithoutAChoiceStillOpensTheFiles) {
    ASSERT_TRUE(window->cbLang->view()->isVisible());
    QTest::keyClick(window->cbLang->view(), Qt::Key_Escape);
    QTRY_VERIFY(window->document().isOpen());
    EXPECT_EQ(window->mmMainFile->title(), "&File");
    EXPECT_FALSE(QFile::exists("settings.txt"));
}

TEST_F(OpaqueSkinTest, ColoursAndFadeTargetComeFromTheSkin) {
    EXPECT_EQ(window->fadeTarget(), 255);
    QTRY_VERIFY_WITH_TIMEOUT(!window->tmActivate->isActive(), 5000);
    EXPECT_EQ(window->opacityValue(), 255);
    EXPECT_EQ(window->edID->palette().color(QPalette::Base), QColor(0, 255, 0));
    EXPECT_EQ(SkinColors().skinColor1, 0x00FF00u);
    EXPECT_EQ(SkinColors().skinColor6, 0x00FF00u);
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
}
