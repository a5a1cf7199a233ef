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
#include "base/file_open.h"
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
    switch (loaded.failure) {
        case LoadedDocument::Failure::None:
            break;
        case LoadedDocument::Failure::MenuItemsOutOfMemory:
            ShowError(texts.unableToAllocateItems);
            return false;
        case LoadedDocument::Failure::MenuItemsOutOfMemoryGrowing:
        case LoadedDocument::Failure::NoMenuItems:
            ShowError(texts.unableToReallocateItems);
            return false;
        case LoadedDocument::Failure::StringsOutOfMemory:
            ShowError(texts.unableToAllocateStrings);
            return false;
    }

    updatingList_ = true;
    document_.Replace(std::move(loaded), menuPath, textDbPath);
    updatingList_ = false;
    WatchDocumentFiles(menuFile, textDbFile);

    imBg2->hide();
    for (QAction* action : {mmMainSave, mmMainSaveAs, mmMainCopy, mmMainInsert, mmMainDelete})
        action->setEnabled(true);
    btCopy->setEnabled(true);
    lbMain->show();
    pnMain->show();
    pnMap->show();
    cbLang->setEnabled(false);
    ShowCount();
    SetStatusText(texts.loadedDocuments + document_.savePath() + fixed_text::kCaptionClose +
                  fixed_text::kCaptionSeparator + document_.textDbPath() + texts.documentsEnd);
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
        if (document_.isModified() || HasUncommittedTyping()) title += QLatin1Char('*');
        title += fixed_text::kCaptionSeparator + document_.loadedPath() +
                 fixed_text::kCaptionClose + fixed_text::kCaptionSeparator +
                 document_.textDbPath() + fixed_text::kCaptionClose;
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
    if (!document_.SaveTo(path)) {
        ShowError(texts.unableToSaveFile);
        return false;
    }
    AfterSave(path);
    SetStatusText(texts.savedDocument + path + texts.documentsEnd);
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

bool TmainWin::FormCloseQuery() {
    if (!document_.isOpen()) return true;
    if (!document_.isModified() && !HasUncommittedTyping()) return true;
    switch (
        platform_.AskSaveChanges(this, fixed_text::kAppTitle, MessageTable().saveChangesQuestion)) {
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
