// Following the two open files on disk: reloading what other programs
// changed, asking first when that would throw away the user's changes.
#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include "app/main_window.h"
#include "app/message_table.h"
#include "app/platform.h"
#include "app/record_list_view.h"
#include "base/file_open.h"
#include "document/file_watch.h"
#include "document/menu_file.h"

namespace {

// Long enough for a tool that writes a file in pieces to finish, short
// enough to feel immediate.
constexpr std::chrono::milliseconds kQuietPeriod{400};

// A reload nobody asked for never takes gigabytes: a menu file above this
// (7 million records, seven times the largest known) is opened only by hand.
constexpr std::int64_t kLargestReload = 256LL << 20;

}  // namespace

void TmainWin::WatchDocumentFiles(QIODevice& menuFile, QIODevice& textDbFile) {
    if (menuWatch_ == nullptr) {
        menuWatch_ = new WatchedFile(kQuietPeriod, this);
        textDbWatch_ = new WatchedFile(kQuietPeriod, this);
        connect(menuWatch_, &WatchedFile::changed, this, [this] { MenuFileChanged(); });
        connect(textDbWatch_, &WatchedFile::changed, this, [this] { TextDbChanged(); });
        connect(menuWatch_, &WatchedFile::removed, this,
                [this] { SetStatusText(MessageTable().menuFileGone.arg(menuWatch_->path())); });
        connect(textDbWatch_, &WatchedFile::removed, this,
                [this] { SetStatusText(MessageTable().textDbGone.arg(textDbWatch_->path())); });
        connect(&document_, &Document::reset, this, [this] {
            if (document_.isOpen()) return;
            menuWatch_->Stop();
            textDbWatch_->Stop();
        });
    }
    // The files were just read whole; this reads them again from the cache.
    // A document read from elsewhere (a recovered copy) knows them as they are.
    const auto known = [](QIODevice& device, const QString& path) {
        auto* file = qobject_cast<QFile*>(&device);
        return file ? FileFingerprint::OfFile(*file) : FileFingerprint::OfPath(path);
    };
    menuWatch_->Watch(document_.savePath(), known(menuFile, document_.savePath()));
    textDbWatch_->Watch(document_.textDbPath(), known(textDbFile, document_.textDbPath()));
}

void TmainWin::BeforeSave() {
    // A change that waits for its quiet period is dealt with first, so that
    // the user is asked before the save goes over it.
    if (menuWatch_ != nullptr) menuWatch_->CheckNowIfPending();
}

void TmainWin::AfterSave(const QString& path) {
    if (menuWatch_ == nullptr) return;
    // The file saved to is the one a later save writes over, so it is the one
    // to follow: after Save as, the old file is no longer the document's.
    const FileFingerprint saved = FileFingerprint::OfPath(path);
    if (QFileInfo(path).absoluteFilePath() == menuWatch_->path())
        menuWatch_->SetKnown(saved);
    else
        menuWatch_->Watch(path, saved);
}

std::optional<FileFingerprint> TmainWin::OpenChangedFile(WatchedFile& watch, QFile& file) {
    // This version is the one known from now on, read or not: the user is
    // told once, not at every look.
    if (!OpenRegularFileForReading(watch.path(), file)) {
        watch.SetKnown(FileFingerprint::OfPath(watch.path()));
        ShowError(MessageTable().unableToOpenFile);
        return std::nullopt;
    }
    const FileFingerprint read = FileFingerprint::OfFile(file);
    watch.SetKnown(read);
    return read;
}

void TmainWin::MenuFileChanged() {
    // Not while a box or a dialog waits for the user, nor in the middle of
    // another question: the window's own steps run to their end first.
    if (QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr || committing_) {
        menuWatch_->CheckLater();
        return;
    }
    const LanguageTexts& texts = MessageTable();
    const QString path = menuWatch_->path();
    // The file is read into fresh records before anything is asked: one that
    // does not load leaves the document as it is, as a failed open does, and
    // the user is asked only about a file that can take its place.
    QFile file;
    const std::optional<FileFingerprint> read = OpenChangedFile(*menuWatch_, file);
    if (!read) return;
    if (read->size > kLargestReload) {
        ShowError(texts.unableToAllocateItems);
        return;
    }
    MenuReadResult items = ReadMenuItems(file);
    file.close();
    switch (items.error) {
        case MenuReadError::None:
            break;
        case MenuReadError::OutOfMemory:
            ShowError(texts.unableToAllocateItems);
            return;
        case MenuReadError::OutOfMemoryGrowing:
        case MenuReadError::NoRecords:
            ShowError(texts.unableToReallocateItems);
            return;
    }
    if ((document_.isModified() || HasUncommittedTyping()) &&
        !platform_.AskYesNo(this, fixed_text::kAppTitle, texts.reloadQuestion, false)) {
        // The records no longer match the file: the next save is an
        // overwrite the user chose, and closing asks about it.
        document_.MarkModified();
        SetStatusText(texts.menuFileKept.arg(path));
        return;
    }
    ReloadMenuFile(std::move(items.items));
}

void TmainWin::ReloadMenuFile(std::vector<MenuItemRecord>&& records) {
    const int row = selectedIndex();
    updatingList_ = true;
    document_.ReplaceRecords(std::move(records), menuWatch_->path());
    updatingList_ = false;

    ShowCount();
    UpdateTitle();
    RebuildItemList();
    const int last = static_cast<int>(document_.count()) - 1;
    SelectRow(std::clamp(row, 0, last));
    RefreshItemView();
    SetStatusText(MessageTable().menuFileReloaded.arg(menuWatch_->path()));
}

void TmainWin::TextDbChanged() {
    if (QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr || committing_) {
        textDbWatch_->CheckLater();
        return;
    }
    ReloadTextDb();
}

void TmainWin::ReloadTextDb() {
    const LanguageTexts& texts = MessageTable();
    const QString path = textDbWatch_->path();
    QFile file;
    if (!OpenChangedFile(*textDbWatch_, file)) return;
    TextDb textDb;
    if (textDb.Read(file) != TextDb::ReadError::None) {
        ShowError(texts.unableToAllocateStrings);
        return;
    }
    // The strings are not part of the history: the records' steps stay.
    document_.ReplaceTextDb(std::move(textDb));
    RefreshItemView();
    SetStatusText(texts.textDbReloaded.arg(path));
}
