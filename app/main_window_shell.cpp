// Activation, fade-in, help and links, interface languages and the skin.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>

#include "app/fade_in.h"
#include "app/find_bar.h"
#include "app/language_box.h"
#include "app/main_window.h"
#include "app/message_table.h"
#include "app/picture_label.h"
#include "app/platform.h"
#include "app/preview_panel.h"
#include "app/preview_placing.h"
#include "app/record_list_view.h"
#include "app/recovery_offer.h"
#include "app/text_line.h"
#include "app/window_placement.h"
#include "assets/picture_loader.h"
#include "base/code_page.h"
#include "base/file_open.h"
#include "base/file_save.h"
#include "base/line_reader.h"
#include "preview/preview_look.h"

namespace {

QColor SkinColor(std::uint32_t bgr) {
    return preview::ColorFromSkin(bgr);
}

void SetRoleColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

}  // namespace

void TmainWin::FormActivate() {
    if (activated_) return;
    activated_ = true;
    RunActivationSequence();
    AfterActivation();
}

void TmainWin::OpenWhenStarted(const QString& menuPath, const QString& textDbPath) {
    pendingFiles_ = {menuPath, textDbPath};
    if (activated_) AfterActivation();
}

void TmainWin::AfterActivation() {
    // Work a killed editor left unsaved is offered once the files named at
    // start, if any, are open: those of their own are offered with them.
    if (pendingFiles_.isEmpty()) {
        recoveryOffer_->OfferAll();
        return;
    }
    // Opening a document locks the language. When the user has just been
    // asked to choose one, the list is opened for that first, and the files
    // follow once it closes, picked from or not.
    if (languageAsked_ && cbLang->count() > 0 && cbLang->isEnabled()) {
        cbLang->setFocus(Qt::OtherFocusReason);
        // After the event that closed the list, so that a pick is applied first.
        cbLang->CallWhenPopupHides(
            [this] { QTimer::singleShot(0, this, [this] { OpenPendingFiles(); }); });
        cbLang->showPopup();
        return;
    }
    OpenPendingFiles();
}

void TmainWin::OpenPendingFiles() {
    const QStringList files = std::exchange(pendingFiles_, QStringList());
    if (files.size() == 2) OpenDocumentFiles(files.at(0), files.at(1));
    recoveryOffer_->OfferAll();
}

void TmainWin::RunActivationSequence() {
    // 1. Placement, unless full-screen mode has taken the border away.
    if (!(windowFlags() & Qt::FramelessWindowHint)) {
        setGeometry(FirstPlacement(platform_.ScreenGeometry(this), minimumSize()));
    }
    // 2. The preview needs no surface made ahead: it draws at the size it is
    // shown at, whenever it is shown.
    // 3. Flags of the shell (the document flags start cleared with the window).
    useMetro_ = false;
    fadeTarget_ = 250;
    fadeLast_ = 0;
    // 4. The skin; a faulty skin ends the sequence here.
    if (!RunGuarded([this] { LoadSkin(); })) return;

    // 5-6. The language list. Every text file is opened only when it is a
    // regular file: a FIFO would block the open, a device never end.
    QFile listFile;
    if (!OpenRegularFileForReading(fixed_text::kLanguageList, listFile)) return;
    {
        LineReader reader(listFile);
        LoadLanguageList(reader);
    }
    listFile.close();

    // 7-8. The remembered choice.
    QFile settings;
    if (!OpenRegularFileForReading(fixed_text::kSettings, settings)) {
        languageAsked_ = true;
        platform_.ShowMessageBox(this, fixed_text::kAppTitle, MessageTable().selectLanguage);
        return;
    }
    {
        LineReader reader(settings);
        const QByteArray fallback = ToCodePage(cbLang->currentText());
        const QString chosen = FromCodePage(reader.ReadLine(fallback));
        languageBoxUpdating_ = true;
        cbLang->setEditText(chosen);
        languageBoxUpdating_ = false;
    }
    settings.close();

    // 9. Apply it.
    QFile languageFile;
    if (!OpenRegularFileForReading(cbLang->currentText(), languageFile)) {
        languageBoxUpdating_ = true;
        cbLang->setCurrentIndex(-1);
        cbLang->setEditText(MessageTable().defaultLanguage);
        languageBoxUpdating_ = false;
        return;
    }
    RunGuarded([this, &languageFile] {
        LineReader reader(languageFile);
        LoadLanguage(reader);
    });
}

void TmainWin::tmActivateTimer() {
    if (!activated_) FormActivate();
    if (useMetro_) {
        setWindowFlag(Qt::FramelessWindowHint, true);
        setGeometry(platform_.ScreenGeometry(this));
        show();
        opacity_ = 255;
        setWindowOpacity(1.0);
    }
    const FadeStep step = NextFadeStep(opacity_, fadeTarget_, fadeLast_);
    opacity_ = step.opacity;
    if (!useMetro_) setWindowOpacity(opacity_ / 255.0);
    if (step.stop) tmActivate->stop();
}

void TmainWin::mmMainHelp2Click() {
    platform_.OpenWithShell(MessageTable().helpFileName);
}

void TmainWin::lbSbInfo2Click() {
    platform_.OpenWithShell(fixed_text::kWebAddress);
}

void TmainWin::lbSbInfo4Click() {
    if (fixed_text::kMailAddress.isEmpty()) return;
    platform_.OpenWithShell(QStringLiteral("mailto:") + fixed_text::kMailAddress);
}

void TmainWin::LoadLanguageList(LineReader& reader) {
    const QString text = cbLang->currentText();
    languageBoxUpdating_ = true;
    for (const QByteArray& entry : reader.ReadListEntries()) cbLang->addItem(FromCodePage(entry));
    cbLang->setCurrentIndex(-1);
    cbLang->setEditText(text);
    languageBoxUpdating_ = false;
}

void TmainWin::LoadLanguage(LineReader& reader) {
    // Lines read before a bad one stay applied, so the texts reach the
    // widgets whatever happens.
    struct ApplyOnExit {
        TmainWin* window;
        ~ApplyOnExit() { window->ApplyTexts(); }
    } apply{this};
    ApplyLanguageFile(reader, MessageTable());
}

void TmainWin::cbLangChange() {
    const QString chosen = cbLang->currentText();
    QFile languageFile;
    if (!OpenRegularFileForReading(chosen, languageFile)) {
        languageBoxUpdating_ = true;
        cbLang->setCurrentIndex(-1);
        cbLang->setEditText(MessageTable().defaultLanguage);
        languageBoxUpdating_ = false;
        return;
    }
    const bool applied = RunGuarded([this, &languageFile] {
        LineReader reader(languageFile);
        LoadLanguage(reader);
    });
    languageFile.close();
    if (!applied) return;
    // Not reported when it fails; neither a device nor a FIFO is written to.
    SaveFileAtomically(fixed_text::kSettings, ToCodePage(chosen));
}

void TmainWin::LoadSkin() {
    QFile skin;
    if (!OpenRegularFileForReading(fixed_text::kSkin, skin)) return;
    LineReader reader(skin);
    ApplySkinFile(reader, *this, PictureLoading{&LoadPicture, &LoadBitmap});
}

void TmainWin::DrawPreview() {
    if (selectedIndex() >= 0) previewPlacing_->Redraw();
}

// --- What the skin sets -----------------------------------------------------

void TmainWin::SetUseMetro(bool useMetro) {
    useMetro_ = useMetro;
}
void TmainWin::SetFadeTarget(std::uint8_t fadeTarget) {
    fadeTarget_ = fadeTarget;
}

void TmainWin::SetBackgroundPicture(const QImage& picture) {
    imBg2->SetPicture(picture);
    pnMap->SetBackground(picture);
}

void TmainWin::SetOverlayPicture(int id, const QImage& picture) {
    pnMap->SetOverlayPicture(id, picture);
}

void TmainWin::SetCopyGlyph(const QImage& glyph) {
    SetGlyph(btCopy, glyph);
}
void TmainWin::SetPasteGlyph(const QImage& glyph) {
    SetGlyph(btPaste, glyph);
}
void TmainWin::SetStatusStrip(const QImage& picture) {
    imSb->SetPicture(picture);
}
void TmainWin::SetCreditsSeparator(const QImage& picture) {
    imSbInfo->SetPicture(picture);
}

std::vector<QWidget*> TmainWin::InputControls() const {
    std::vector<QWidget*> controls = {cbLang,   edID,     cbType, edPosX,  edPosY,           edScaleX,
                                      edScaleY, edTextdb, edFont, edColor, textLine->field()};
    controls.push_back(findBar->field());
    return controls;
}

std::vector<QWidget*> TmainWin::WindowTextControls() const {
    std::vector<QWidget*> controls = {
        lbMain,   lbID,      lbType,    lbPosX,    lbPosY,    lbScaleX,   lbScaleY,
        lbTextdb, lbFont,    lbColor,   lbMenu1,   lbMenu2,   lbMIcount2, lbStatus2,
        cbLang,   lbSbInfo1, lbSbInfo2, lbSbInfo3, lbSbInfo4, textLine->caption(), textLine->note()};
    controls.push_back(findBar->countLabel());
    return controls;
}

void TmainWin::SetWindowColor(std::uint32_t color) {
    for (QWidget* widget : {static_cast<QWidget*>(client_), static_cast<QWidget*>(pnMain),
                            static_cast<QWidget*>(pnMap)}) {
        SetRoleColor(widget, QPalette::Window, SkinColor(color));
        widget->setAutoFillBackground(true);
    }
    SetRoleColor(lbMain, QPalette::Base, SkinColor(color));
}

void TmainWin::SetInputBackgroundColor(std::uint32_t color) {
    for (QWidget* widget : InputControls()) {
        SetRoleColor(widget, QPalette::Base, SkinColor(color));
        SetRoleColor(widget, QPalette::Button, SkinColor(color));
    }
}

void TmainWin::SetWindowTextColor(std::uint32_t color) {
    for (QWidget* widget : WindowTextControls()) {
        SetRoleColor(widget, QPalette::WindowText, SkinColor(color));
        SetRoleColor(widget, QPalette::Text, SkinColor(color));
    }
}

void TmainWin::SetInputTextColor(std::uint32_t color) {
    for (QWidget* widget : InputControls()) {
        SetRoleColor(widget, QPalette::Text, SkinColor(color));
        SetRoleColor(widget, QPalette::ButtonText, SkinColor(color));
    }
}

void TmainWin::SetHeadingTextColor(std::uint32_t color) {
    for (QLabel* label : {lbMI, lbPos, lbScale, lbAtt}) {
        label->setForegroundRole(QPalette::WindowText);
        SetRoleColor(label, QPalette::WindowText, SkinColor(color));
    }
}

void TmainWin::SetCaptionTextColor(std::uint32_t color) {
    for (QLabel* label : {lbMIcount1, lbStatus1, lnLang1})
        SetRoleColor(label, QPalette::WindowText, SkinColor(color));
}

void TmainWin::SetStatusBarColor(std::uint32_t color) {
    SetRoleColor(pnSb, QPalette::Window, SkinColor(color));
}

void TmainWin::SetPreviewColor(int index, std::uint32_t color) {
    preview::SetSkinColor(SkinColors(), index, color);
}
