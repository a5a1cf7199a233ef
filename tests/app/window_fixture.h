#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QSettings>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/language_box.h"
#include "app/main_window.h"
#include "app/message_table.h"
#include "app/record_list_view.h"
#include "document/menu_file.h"
#include "fake_platform.h"
#include "support/files.h"

// A main window in a fresh working folder, answered by a FakePlatform.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(folder_.path());
        // Recovery files go to the test's own state folder.
        qputenv("XDG_STATE_HOME", QFile::encodeName(folder_.filePath("state")));
        MessageTable() = LanguageTexts();
        SkinColors() = preview::PreviewColors();
        // Each test starts with the default view and an empty clipboard.
        QSettings().clear();
        QGuiApplication::clipboard()->clear();
        PrepareFolder();
        window = std::make_unique<TmainWin>(platform);
        window->show();
        BeforeActivation();
        window->FormActivate();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
    }

    void TearDown() override {
        window.reset();
        QDir::setCurrent(previousFolder_);
    }

    // Files to lay into the working folder before the window starts.
    virtual void PrepareFolder() {}
    // What happens between the window's creation and its first activation.
    virtual void BeforeActivation() {}

    QString Path(const QString& name) const { return folder_.filePath(name); }
    QString RecoveryFolder() const { return folder_.filePath("state/kavel-editor"); }

    static void WriteBytes(const QString& path, const QByteArray& bytes) {
        ASSERT_TRUE(::WriteBytes(path, bytes)) << path.toStdString();
    }
    static QByteArray SampleBytes(const QString& name) {
        return ReadBytes(QStringLiteral(KAVEL_SOURCE_DIR "/samples/") + name);
    }

    // Opens kavel.def (the sample's records, or those given) and the sample
    // string database through the two open dialogs.
    void OpenSample(const QByteArray& menu = SampleBytes("kavel.def")) {
        WriteBytes(Path("kavel.def"), menu);
        WriteBytes(Path("textdb_en.def"), SampleBytes("textdb_en.def"));
        OpenFiles(Path("kavel.def"), Path("textdb_en.def"));
    }

    void OpenFiles(const QString& menuPath, const QString& textDbPath) {
        platform.openAnswers = {menuPath, textDbPath};
        window->mmMainOpenClick();
    }

    // Clicks a row of the list, scrolled into view, with the keys held.
    void ClickRow(int row, Qt::KeyboardModifiers keys = {}) {
        QListView* list = window->lbMain;
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, list->visualRect(index).center());
    }

    // Types a text into a field, replacing what it held.
    void TypeInto(QLineEdit* field, const QString& text) {
        field->setFocus(Qt::MouseFocusReason);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    // Types a text into a field and leaves it with Tab, which commits it.
    void TypeAndLeave(QLineEdit* field, const QString& text) {
        TypeInto(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }

    // Lets deferred work (the error box, the activation) run.
    static void Settle() { QApplication::processEvents(); }

    // Runs the window until `done` holds, for at most five seconds. (A failed
    // QTRY_VERIFY only returns: it cannot fail a GoogleTest test.)
    template <typename Done>
    static bool Eventually(Done done) {
        return QTest::qWaitFor(done, 5000);
    }

    const MenuItemRecord& Record(std::size_t index) const { return window->menuItems().at(index); }

    FakePlatform platform;
    std::unique_ptr<TmainWin> window;

  private:
    QTemporaryDir folder_;
    QString previousFolder_;
};
