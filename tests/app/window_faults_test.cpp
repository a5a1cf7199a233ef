// Faults of the outside world met through the real window: a skin picture
// that would block, special files in place of the shell's text files, and
// a whole session under the leak checker. The readers themselves are tested
// on their own; here the promise is the window's: it starts, says what is
// wrong and keeps working.
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "app/picture_label.h"
#include "assets/builtin_pictures.h"
#include "window_fixture.h"

namespace {
// Aborts the whole test program when a step has not finished in time: an open
// that blocks would otherwise hang the suite instead of failing it.
class Watchdog {
  public:
    explicit Watchdog(const char* what, std::chrono::seconds limit = std::chrono::seconds(10))
        : thread_([this, what, limit] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
                  std::fprintf(stderr, "Watchdog: '%s' did not finish in time\n", what);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

// ------------------------------------------------------------------ a skin picture

// A skin whose background picture is a FIFO without a writer.
class FifoPictureSkin : public WindowTest {
  protected:
    void SetUp() override {
        // The window starts in SetUp: an open that waited for a writer would
        // never return.
        const Watchdog watchdog("a skin picture that is a FIFO");
        WindowTest::SetUp();
    }
    void PrepareFolder() override {
        QDir().mkpath("skin");
        ASSERT_EQ(::mkfifo("skin/pipe.bmp", 0644), 0);
        WriteBytes("skin/skin.txt", "x\n250\nskin/pipe.bmp\n");
    }
};

TEST_F(FifoPictureSkin, IsRefusedAtOnceAndTheWindowKeepsItsBuiltInLook) {
    Settle();
    EXPECT_EQ(platform.errorBoxes,
              QStringList{"Kavel.def Editor: Cannot open file skin/pipe.bmp."});
    EXPECT_EQ(window->fadeTarget(), 250);
    EXPECT_EQ(SkinColors().skinColor1, preview::PreviewColors().skinColor1);
    EXPECT_TRUE(window->imBg2->picture() == BuiltinBackground());
    OpenSample();
    EXPECT_TRUE(window->lbStatus2->text().startsWith("Loaded documents: ["));
}

// ------------------------------------------------------------------ special text files

// A skin file that is a FIFO, a language list naming a device, and settings
// linked to one: each would block the start or never end.
class SpecialTextFilesTest : public WindowTest {
  protected:
    void SetUp() override {
        const Watchdog watchdog("starting with special text files");
        WindowTest::SetUp();
    }
    void PrepareFolder() override {
        QDir().mkpath("lang");
        QDir().mkpath("skin");
        ASSERT_EQ(::mkfifo("skin/skin.txt", 0644), 0);
        WriteBytes("lang/langList.txt", "/dev/zero\nlang/English.txt\n");
        QFile::copy(QStringLiteral(KAVEL_SOURCE_DIR "/lang/English.txt"), "lang/English.txt");
        ASSERT_EQ(::symlink("/dev/zero", "settings.txt"), 0);
    }
};

TEST_F(SpecialTextFilesTest, AreTakenForMissingFilesWithoutWaiting) {
    EXPECT_EQ(platform.messageBoxes,
              QStringList{"Kavel.def Editor: Please select a language in combo box below."});
    EXPECT_EQ(window->cbLang->count(), 2);
    {
        const Watchdog watchdog("choosing a device as the language file");
        window->cbLang->setCurrentIndex(0);
    }
    EXPECT_EQ(window->cbLang->currentText(), "Default");
    // The choice is remembered only in a regular file: not through a link to
    // a FIFO (one of this folder's own, never a device of the machine).
    ASSERT_TRUE(QFile::remove("settings.txt"));
    ASSERT_EQ(::mkfifo("pipe", 0644), 0);
    ASSERT_EQ(::symlink("pipe", "settings.txt"), 0);
    {
        const Watchdog watchdog("remembering the language in a FIFO");
        window->cbLang->setCurrentIndex(1);
    }
    EXPECT_EQ(window->cbLang->currentText(), "lang/English.txt");
    EXPECT_TRUE(QFileInfo("settings.txt").isSymLink());
    EXPECT_FALSE(QFileInfo("pipe").isFile());
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
}

// ------------------------------------------------------------------ leaks

// One whole session of the user's: open, edit, save, close. CI runs it alone
// under LeakSanitizer (ctest -R LeakCheck), which reports at the end of the
// process whatever the window did not give back.
class LeakCheck : public WindowTest {};

TEST_F(LeakCheck, OpenEditSaveClose) {
    OpenSample();
    ClickRow(2);
    TypeInto(window->edPosX, "12.5");
    QTest::keyClick(window->edPosX, Qt::Key_Tab);
    window->mmMainCopyClick();
    window->mmMainPasteClick();
    window->mmMainInsertClick();
    platform.yesNoAnswers.push_back(true);
    window->mmMainDeleteClick();
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->lbStatus2->text(), "Saved document: [" + Path("kavel.def") + "].");
    const auto saved = DecodeMenuItems(ReadBytes(Path("kavel.def")));
    ASSERT_EQ(saved.items.size(), window->menuItems().size());
    EXPECT_EQ(saved.items[2].posX, 12.5f);
    window->close();
    EXPECT_TRUE(window->menuItems().empty());
    Settle();
}

}  // namespace
