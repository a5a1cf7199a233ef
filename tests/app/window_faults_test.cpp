// Faults of the outside world met through the real window: special files in
// place of the shell's text files, and a whole session under the leak
// checker. The readers themselves (a skin's pictures among them) are tested
// on their own; here the promise is the window's: it starts and keeps working.
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>

#include "window_fixture.h"

namespace {

// Ends the whole test program (SIGALRM) when a step has not finished in ten
// seconds: an open that blocks would otherwise hang the suite.
struct Deadline {
    Deadline() { ::alarm(10); }
    ~Deadline() { ::alarm(0); }
};

// A skin file, a listed language file and the settings (through a link) that
// are FIFOs of the test's folder: each would block the start, or the choice.
class SpecialTextFilesTest : public WindowTest {
  protected:
    void SetUp() override {
        const Deadline deadline;
        WindowTest::SetUp();
    }
    void PrepareFolder() override {
        QDir().mkpath("lang");
        QDir().mkpath("skin");
        for (const char* fifo : {"skin/skin.txt", "lang/pipe.txt", "pipe"})
            ASSERT_EQ(::mkfifo(fifo, 0644), 0);
        ASSERT_EQ(::symlink("pipe", "settings.txt"), 0);
        WriteBytes("lang/langList.txt", "lang/pipe.txt\nlang/English.txt\n");
        QFile::copy(QStringLiteral(KAVEL_SOURCE_DIR "/lang/English.txt"), "lang/English.txt");
    }
};

TEST_F(SpecialTextFilesTest, AreTakenForMissingFilesWithoutWaiting) {
    EXPECT_EQ(platform.messageBoxes,
              QStringList{"Kavel.def Editor: Please select a language in combo box below."});
    ASSERT_EQ(window->cbLang->count(), 2);
    const Deadline deadline;
    window->cbLang->setCurrentIndex(0);
    EXPECT_EQ(window->cbLang->currentText(), "Default");
    // The choice is remembered only in a regular file: not through the link.
    window->cbLang->setCurrentIndex(1);
    EXPECT_EQ(window->cbLang->currentText(), "lang/English.txt");
    EXPECT_TRUE(QFileInfo("settings.txt").isSymLink());
    EXPECT_FALSE(QFileInfo("pipe").isFile());
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
}

// One whole session of the user's: open, edit, save, close. CI runs it alone
// under LeakSanitizer (ctest -R LeakCheck), which reports at the end of the
// process whatever the window did not give back.
class LeakCheck : public WindowTest {};

TEST_F(LeakCheck, OpenEditSaveClose) {
    OpenSample();
    ClickRow(2);
    TypeAndLeave(window->edPosX, "12.5");
    window->mmMainCopyClick();
    window->mmMainPasteClick();
    window->mmMainInsertClick();
    platform.yesNoAnswers.push_back(true);
    window->mmMainDeleteClick();
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);  // its bytes: the random runs'
    EXPECT_TRUE(window->close());  // nothing to ask about
    EXPECT_TRUE(window->menuItems().empty());
    Settle();
}

}  // namespace
