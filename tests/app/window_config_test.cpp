// The language steps and the skin at the window's start. How language and
// skin files are read is tested in config/; here the window applies them.
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
        for (const QString name : {"langList.txt", "English.txt", "German.txt"})
            QFile::copy(QStringLiteral(KAVEL_SOURCE_DIR "/lang/") + name, "lang/" + name);
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

class MetroSkinTest : public ConfiguredWindowTest {
  protected:
    MetroSkinTest() {
        settings = "lang/German.txt";
        skin = "UseMetro=1\n";
        platform.screen = QRect(1920, 0, 1366, 768);  // a second monitor, right of the first
    }
};

// A remembered language and an opaque skin. In the skin, lines 4 to 11 stand
// for line 3's picture, 14 to 24 for line 13's colour.
class RememberedStartTest : public ConfiguredWindowTest {
  protected:
    RememberedStartTest() {
        settings = "lang/German.txt";
        skin = "x\n$FF\nskin/pic.bmp\n\n\n\n\n\n\n\n\n0xFFFFFF\n0x00FF00\n";
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

}  // namespace

TEST_F(FirstStartTest, APickedLanguageIsAppliedAndRememberedOnlyWhenItCouldBeRead) {
    // A count that is no number: the lines before it stay applied, and the
    // file is not remembered.
    QByteArray broken;
    for (int line = 1; line <= 44; ++line) broken += line == 2 ? "&Akte\n" : "\n";
    WriteBytes("lang/Broken.txt", broken + "many\n");
    window->cbLang->setEditText("lang/Broken.txt");
    Settle();
    EXPECT_EQ(window->mmMainFile->title(), "&Akte");
    EXPECT_EQ(platform.errorBoxes,
              QStringList{"Kavel.def Editor: 'many' is not a valid integer value."});
    EXPECT_FALSE(QFile::exists("settings.txt"));

    EXPECT_EQ(platform.toolkitLanguage, "en");
    window->cbLang->setCurrentIndex(1);
    EXPECT_EQ(window->mmMainFile->title(), "&Datei");
    EXPECT_EQ(platform.toolkitLanguage, "de");
    EXPECT_EQ(window->cbType->count(), 52);
    EXPECT_TRUE(window->cbType->itemText(2).startsWith("wint - "));
    EXPECT_EQ(ReadBytes("settings.txt"), "lang/German.txt");
}

TEST_F(RememberedStartTest, TheLanguageAndTheSkinAreAppliedAndADocumentLocksTheLanguage) {
    EXPECT_TRUE(platform.messageBoxes.isEmpty());
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
    EXPECT_EQ(window->cbLang->currentText(), "lang/German.txt");
    EXPECT_EQ(window->mmMainEdit->title(), "&Bearbeiten");
    EXPECT_EQ(window->edID->palette().color(QPalette::Base), QColor(0, 255, 0));
    EXPECT_EQ(SkinColors().skinColor1, 0x00FF00u);
    EXPECT_EQ(SkinColors().skinColor6, 0x00FF00u);
    // (The climb to it: FadeIn's cases and the idle start's climb to 250.)
    EXPECT_EQ(window->fadeTarget(), 255);
    OpenSample();
    EXPECT_FALSE(window->cbLang->isEnabled());
    EXPECT_TRUE(window->lbStatus2->text().startsWith(MessageTable().loadedDocuments));
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
    ASSERT_TRUE(Eventually([this] { return !window->tmActivate->isActive(); }));
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
    ASSERT_TRUE(Eventually([this] { return window->document().isOpen(); }));
    EXPECT_EQ(window->mmMainFile->title(), "&Datei");
    EXPECT_EQ(ReadBytes("settings.txt"), "lang/German.txt");
    EXPECT_FALSE(window->cbLang->isEnabled());
}
