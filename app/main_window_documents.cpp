// Opening, loading and saving documents.
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>

#include "app/language_box.h"
#include "app/main_window.h"
#include "app/message_table.h"
#include "app/picture_label.h"
#include "app/platform.h"
#include "app/preview_panel.h"
#include "app/record_list_view.h"
#include "app/recovery_offer.h"
#include "app/text_line.h"
#include "base/file_open.h"
#include "config/load_messages.h"
#include "document/document_loader.h"

namespace {

FileDialogRequest OpenRequest(const QString& title, const QString& filter,
                              const QString& initialName) {
    FileDialogRequest request;
    request.title = title;
    request.nameFilters = FileDialogNameFilters(filter);
    request.selectedFilter = 1;  // the "*.def" entry
    request.defaultSuffix = QStringLiteral("def");
    request.initialFileName = initialName;
    return request;
}

}  // namespace

void TmainWin::mmMainOpenClick() {
    // Unsaved changes are settled before the dialogs, so that the question
    // is about the document the user sees.
    if (!FormCloseQuery()) return;
    const LanguageTexts& texts = MessageTable();
    const std::optional<QString> menuPath = platform_.GetOpenFileName(
        this,
        OpenRequest(texts.openMenuFileTitle, texts.MenuFileFilter(), fixed_text::kMenuFileName));
    if (!menuPath) return;
    const std::optional<QString> textDbPath = platform_.GetOpenFileName(
        this,
        OpenRequest(texts.openStringsFileTitle, texts.StringsFileFilter(), texts.stringsFileName));
    if (!textDbPath) return;
    OpenDocumentFiles(*menuPath, *textDbPath);
}

void TmainWin::OpenDocumentFiles(const QString& menuPath, const QString& textDbPath) {
    QFile menuFile;
    if (!OpenRegularFileForReading(menuPath, menuFile)) {
        ShowError(MessageTable().unableToOpenFile);
        return;
    }
    QFile textDbFile;
    if (!OpenRegularFileForReading(textDbPath, textDbFile)) {
        menuFile.close();
        ShowError(MessageTable().unableToOpenFile);
        return;
    }
    // The dialogs give full paths; a name from the command line is made full.
    const bool loaded = LoadDocuments(menuFile, textDbFile, QFileInfo(menuPath).absoluteFilePath(),
                                      QFileInfo(textDbPath).absoluteFilePath());
    textDbFile.close();
    menuFile.close();
    // Unsaved changes to it that a killed editor left behind.
    if (loaded) recoveryOffer_->OfferFor(document_.savePath());
}

bool TmainWin::LoadDocuments(QIODevice& menuFile, QIODevice& textDbFile, const QString& menuPath,
                             const QString& textDbPath) {
    const LanguageTexts& texts = MessageTable();
    SetStatusText(texts.initializing);
    // Both files are read into fresh arrays; the open document is replaced
    // only when both were read, so a failed load leaves it whole.
    LoadedDocument loaded = LoadDocumentStreams(menuFile, textDbFile, [this, &texts](auto stage) {
        SetStatusText(stage == LoadedDocument::Stage::ReadingMenuItems ? texts.readingItems
                                                                       : texts.readingStrings);
    });
    if (loaded.failure != LoadedDocument::Failure::None) {
        ShowError(load_messages::FailureText(texts, loaded.failure));
        return false;
    }
    const QString note = load_messages::Note(texts, loaded);

    updatingList_ = true;
    document_.Replace(std::move(loaded), menuPath, textDbPath);
    updatingList_ = false;
    WatchDocumentFiles(menuFile, textDbFile);

    imBg2->hide();
    for (QAction* action :
         {mmMainSave, mmMainSaveAs, mmMainCopy, mmMainInsert, mmMainDelete, mmMainNewText})
        action->setEnabled(true);
    btCopy->setEnabled(true);
    lbMain->show();
    pnMain->show();
    pnMap->show();
    cbLang->setEnabled(false);
    ShowCount();
    SetStatusText(texts.loadedDocuments + document_.savePath() + fixed_text::kCaptionClose +
                  fixed_text::kCaptionSeparator + document_.textDbPath() + texts.documentsEnd +
                  note);
    UpdateTitle();

    RebuildItemList();
    SelectRow(0);
    RefreshItemView();
    return true;
}

void TmainWin::UpdateTitle() {
    QString title = fixed_text::kCaption;
    if (document_.isOpen()) {
        // Typing not yet taken over is unsaved work too: closing asks about it.
        // A file's mark stands after its bracket, where no path can put one.
        const auto [menuFile, textDb] = UnsavedFiles();
        const auto mark = [](bool unsaved) { return unsaved ? QStringLiteral("*") : QString(); };
        title += mark(menuFile || textDb) + fixed_text::kCaptionSeparator +
                 document_.loadedPath() + fixed_text::kCaptionClose + mark(menuFile) +
                 fixed_text::kCaptionSeparator + document_.textDbPath() +
                 fixed_text::kCaptionClose + mark(textDb);
    }
    // Qt reads "[*]" in a title as the place of its own modified mark and
    // shows a doubled one as it is: a path holding it must keep it.
    title.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    setWindowTitle(title);
}

void TmainWin::mmMainSaveClick() {
    SaveTo(document_.savePath());
}

void TmainWin::mmMainSaveAsClick() {
    FileDialogRequest request;
    request.title = MessageTable().saveMenuFileTitle;
    request.nameFilters = FileDialogNameFilters(fixed_text::kSaveFilter);
    request.selectedFilter = 0;
    request.defaultSuffix = QStringLiteral("def");
    request.initialFileName =
        document_.savePath().isEmpty() ? fixed_text::kMenuFileName : document_.savePath();
    request.confirmOverwrite = true;
    const std::optional<QString> chosen = platform_.GetSaveFileName(this, request);
    if (!chosen) return;
    // Refused before the name is taken, so that Save goes on writing to the
    // file it wrote before.
    if (RefuseSavingOverTextDb(*chosen)) return;
    document_.SetSavePath(*chosen);
    SaveTo(document_.savePath());
}

bool TmainWin::RefuseSavingOverTextDb(const QString& path) {
    // The string database is only ever read: records saved over it would
    // take its texts away, and it would then be reloaded as a damaged one.
    if (!IsSameExistingFile(path, document_.textDbPath())) return false;
    ShowError(MessageTable().unableToSaveOverTextDb);
    return true;
}

bool TmainWin::SaveTo(const QString& path) {
    const LanguageTexts& texts = MessageTable();
    // A menu file opened as its own string database as well.
    if (RefuseSavingOverTextDb(path)) return false;
    // The file is written beside the old one and put in its place only when
    // every byte has landed: a failed save leaves the old file as it was.
    BeforeSave();
    SetStatusText(texts.savingItems);
    const Document::SaveOutcome saved = document_.SaveTo(path);
    AfterSave(path, saved);
    if (!saved.ok()) {
        // Each file that failed by name, once the string database was at stake.
        QStringList failed;
        if (!saved.menuFileSaved && !saved.textDbWritten && !saved.textDbFailed)
            failed << texts.unableToSaveFile;
        else if (!saved.menuFileSaved)
            failed << texts.menuFileNotSaved.arg(path);
        if (saved.textDbFailed) failed << texts.textDbNotSaved.arg(document_.textDbPath());
        ShowError(failed.join(u' '));
        return false;
    }
    const QString textDb = fixed_text::kCaptionClose + fixed_text::kCaptionSeparator +
                           document_.textDbPath();
    SetStatusText(texts.savedDocument + path + (saved.textDbWritten ? textDb : QString()) +
                  texts.documentsEnd);
    return true;
}

void TmainWin::ShowError(const QString& message) {
    SetStatusText(message);
    QPalette errorPalette = lbStatus2->palette();
    errorPalette.setColor(QPalette::WindowText, preview::ColorFromSkin(SkinColors().skinColor1));
    lbStatus2->setPalette(errorPalette);
    pbSb->setValue(0);
    pbSb->hide();
}

std::pair<bool, bool> TmainWin::UnsavedFiles() const {
    return {document_.menuFileModified() || HasUncommittedTyping(),
            document_.textDbModified() || textLine->HasTyping()};
}

bool TmainWin::FormCloseQuery() {
    if (!document_.isOpen()) return true;
    const auto [menuFile, textDb] = UnsavedFiles();
    if (!menuFile && !textDb) return true;
    const LanguageTexts& texts = MessageTable();
    const QString& question = !textDb    ? texts.saveChangesQuestion
                              : menuFile ? texts.saveBothQuestion
                                         : texts.saveTextDbQuestion;
    switch (platform_.AskSaveChanges(this, fixed_text::kAppTitle, question)) {
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            return false;
        case SaveAnswer::Save:
            // What was typed and not yet committed is part of what is saved.
            return CommitUncommittedTyping() && SaveTo(document_.savePath());
    }
    return false;
}

void TmainWin::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    // The arrays go with the window.
    updatingList_ = true;
    document_.Close();
    updatingList_ = false;
    event->accept();
}

void TmainWin::mmMainExitClick() {
    close();
}
