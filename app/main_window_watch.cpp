// Following the two open files on disk: reloading what other programs
// changed, asking first when that would throw away the user's changes.
#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include "app/main_window.h"
#include "app/message_table.h"
#include "app/platform.h"
#include "app/record_list_view.h"
#include "app/text_line.h"
#include "base/file_open.h"
#include "config/load_messages.h"
#include "document/document_loader.h"
#include "document/file_watch.h"

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
        // Without its file the document exists only in this window.
        connect(menuWatch_, &WatchedFile::removed, this, [this] {
            document_.SetOnlyCopy(true);
            SetStatusText(MessageTable().menuFileGone.arg(menuWatch_->path()));
        });
        connect(menuWatch_, &WatchedFile::restored, this, [this] {
            document_.SetOnlyCopy(false);
            SetStatusText(MessageTable().menuFileBack.arg(menuWatch_->path()));
        });
        connect(textDbWatch_, &WatchedFile::removed, this,
                [this] { SetStatusText(MessageTable().textDbGone.arg(textDbWatch_->path())); });
        connect(textDbWatch_, &WatchedFile::restored, this,
                [this] { SetStatusText(MessageTable().textDbBack.arg(textDbWatch_->path())); });
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
    if (menuWatch_ == nullptr) return;
    menuWatch_->CheckNowIfPending();
    textDbWatch_->CheckNowIfPending();
}

void TmainWin::AfterSave(const QString& path, const Document::SaveOutcome& saved) {
    if (menuWatch_ == nullptr) return;
    if (saved.textDbWritten) textDbWatch_->SetKnown(FileFingerprint::OfPath(textDbWatch_->path()));
    if (!saved.menuFileSaved) return;
    // The file saved to is the one a later save writes over, so it is the one
    // to follow: after Save as, the old file is no longer the document's.
    const FileFingerprint written = FileFingerprint::OfPath(path);
    if (QFileInfo(path).absoluteFilePath() == menuWatch_->path())
        menuWatch_->SetKnown(written);
    else
        menuWatch_->Watch(path, written);
}

std::optional<FileFingerprint> TmainWin::OpenChangedFile(WatchedFile& watch, QFile& file) {
    // The version the window holds stays the known one until this one is
    // taken: a file that cannot be read now and comes back as it was is no
    // change.
    if (!OpenRegularFileForReading(watch.path(), file)) {
        ShowError(MessageTable().unableToOpenFile);
        return std::nullopt;
    }
    return FileFingerprint::OfFile(file);
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
    // The file is read into fresh records before anything is asked: one that
    // does not load leaves the document as it is, as a failed open does, and
    // the user is asked only about a file that can take its place. Until
    // then the records held are the document's only copy.
    document_.SetOnlyCopy(true);
    QFile file;
    const std::optional<FileFingerprint> read = OpenChangedFile(*menuWatch_, file);
    if (!read) return;
    if (read->size > kLargestReload) {
        ShowError(texts.unableToAllocateItems);
        return;
    }
    LoadedDocument loaded = LoadMenuStream(file);
    file.close();
    if (loaded.failure != LoadedDocument::Failure::None) {
        ShowError(load_messages::FailureText(texts, loaded.failure));
        return;
    }
    menuWatch_->SetKnown(*read);
    if ((document_.hasEdits() || HasUncommittedTyping()) &&
        !platform_.AskYesNo(this, fixed_text::kAppTitle, texts.reloadQuestion, false)) {
        // The records no longer match the file: the next save is an
        // overwrite the user chose, and closing asks about it.
        document_.MarkModified();
        SetStatusText(texts.menuFileKept.arg(menuWatch_->path()));
        return;
    }
    ReloadMenuFile(std::move(loaded));
}

void TmainWin::ReloadMenuFile(LoadedDocument&& loaded) {
    const int row = selectedIndex();
    const QString note = load_messages::Note(MessageTable(), loaded);
    updatingList_ = true;
    document_.ReplaceRecords(std::move(loaded.menuItems), menuWatch_->path());
    updatingList_ = false;

    ShowCount();
    UpdateTitle();
    RebuildItemList();
    const int last = static_cast<int>(document_.count()) - 1;
    SelectRow(std::clamp(row, 0, last));
    RefreshItemView();
    SetStatusText(MessageTable().menuFileReloaded.arg(menuWatch_->path()) + note);
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
    QFile file;
    const std::optional<FileFingerprint> read = OpenChangedFile(*textDbWatch_, file);
    if (!read) return;
    LoadedDocument loaded = ReloadTextDbStream(file);
    if (loaded.failure != LoadedDocument::Failure::None) {
        ShowError(load_messages::FailureText(texts, loaded.failure));
        return;
    }
    textDbWatch_->SetKnown(*read);
    if ((document_.textDbModified() || textLine->HasTyping()) &&
        !platform_.AskYesNo(this, fixed_text::kAppTitle, texts.textDbReloadQuestion, false)) {
        // As with the menu file: the next save knowingly writes over it.
        document_.MarkTextDbModified();
        SetStatusText(texts.textDbKept.arg(textDbWatch_->path()));
        return;
    }
    document_.ReplaceTextDb(std::move(loaded.textDb));
    RefreshItemView();
    SetStatusText(texts.textDbReloaded.arg(textDbWatch_->path()));
}
