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

#include "app/main_window.h"
#include "app/message_table.h"
#include "app/picture_label.h"
#include "app/platform.h"
#include "app/preview_panel.h"
#include "document/document_loader.h"
#include "document/file_open.h"
#include "document/file_save.h"
#include "document/menu_file.h"
#include "editing/record_list_model.h"

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
    LoadDocuments(menuFile, textDbFile, QFileInfo(menuPath).absoluteFilePath(),
                  QFileInfo(textDbPath).absoluteFilePath());
    textDbFile.close();
    menuFile.close();
}

void TmainWin::LoadDocuments(QFile& menuFile, QFile& textDbFile, const QString& menuPath,
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
        case LoadedDocument::Failure::AllocateMenuItems:
            ShowError(texts.unableToAllocateItems);
            return;
        case LoadedDocument::Failure::ReallocateMenuItems:
            ShowError(texts.unableToReallocateItems);
            return;
        case LoadedDocument::Failure::AllocateStrings:
            ShowError(texts.unableToAllocateStrings);
            return;
    }

    listModel_->SetRecords(nullptr);
    menuItems_ = std::move(loaded.menuItems);
    textDb_ = std::move(loaded.textDb);
    itemsAllocated_ = true;
    stringsAllocated_ = true;
    savePath_ = menuPath;
    textDbPath_ = textDbPath;

    imBg2->hide();
    for (QAction* action : {mmMainSave, mmMainSaveAs, mmMainCopy, mmMainInsert, mmMainDelete})
        action->setEnabled(true);
    btCopy->setEnabled(true);
    lbMain->show();
    pnMain->show();
    pnMap->show();
    cbLang->setEnabled(false);
    lbMIcount2->setText(QString::number(menuItemCount()));
    lbMIcount2->adjustSize();
    SetStatusText(texts.loadedDocuments + savePath_ + fixed_text::kCaptionClose +
                  fixed_text::kCaptionSeparator + textDbPath_ + texts.documentsEnd);
    setWindowTitle(fixed_text::kCaptionOpen + savePath_ + fixed_text::kCaptionClose +
                   fixed_text::kCaptionSeparator + textDbPath_ + fixed_text::kCaptionClose);

    updatingList_ = true;
    listModel_->SetRecords(&menuItems_);
    updatingList_ = false;
    SelectRow(0);
    RefreshItemView();
}

void TmainWin::mmMainSaveClick() {
    SaveTo(savePath_);
}

void TmainWin::mmMainSaveAsClick() {
    FileDialogRequest request;
    request.title = MessageTable().saveMenuFileTitle;
    request.nameFilters = FileDialogNameFilters(fixed_text::kSaveFilter);
    request.selectedFilter = 0;
    request.defaultSuffix = QStringLiteral("def");
    request.initialFileName = savePath_.isEmpty() ? fixed_text::kMenuFileName : savePath_;
    request.confirmOverwrite = true;
    const std::optional<QString> chosen = platform_.GetSaveFileName(this, request);
    if (!chosen) return;
    savePath_ = *chosen;
    SaveTo(savePath_);
}

void TmainWin::SaveTo(const QString& path) {
    const LanguageTexts& texts = MessageTable();
    // The file is written beside the old one and put in its place only when
    // every byte has landed: a failed save leaves the old file as it was.
    SetStatusText(texts.savingItems);
    if (!SaveFileAtomically(path, EncodeMenuItems(menuItems_))) {
        ShowError(texts.unableToSaveFile);
        return;
    }
    SetStatusText(texts.savedDocument + path + texts.documentsEnd);
}

void TmainWin::ShowError(const QString& message) {
    SetStatusText(message);
    QPalette errorPalette = lbStatus2->palette();
    errorPalette.setColor(QPalette::WindowText, preview::ColorFromSkin(SkinColors().skinColor1));
    lbStatus2->setPalette(errorPalette);
    pbSb->setValue(0);
    pbSb->hide();
}

void TmainWin::closeEvent(QCloseEvent* event) {
    // FormCloseQuery: the arrays go with the window; nothing asks to save.
    if (itemsAllocated_) {
        listModel_->SetRecords(nullptr);
        menuItems_ = {};
        itemsAllocated_ = false;
    }
    if (stringsAllocated_) {
        textDb_ = TextDb();
        stringsAllocated_ = false;
    }
    event->accept();
}

void TmainWin::mmMainExitClick() {
    close();
}
