#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/type_box.h"
#include "config/skin_file.h"
#include "document/document.h"
#include "editing/record_command.h"
#include "editing/record_field.h"

class QAction;
class QComboBox;
class QFile;
class QIODevice;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class ArrangeMenu;
class LineReader;
class PanelValues;
class PictureLabel;
class Platform;
class PreviewPanel;
class PreviewPlacing;
class RecordClipboard;
class RecordListModel;
class RecordListView;
class ShortcutPriorityFilter;
class FindBar;
class RecordSearch;
class RecordSelection;
class ViewMenu;
class ViewOptions;
class ViewStatus;
class TextLine;
class WatchedFile;
struct FileFingerprint;
class LanguageBox;
class RecoveryJournal;
class RecoveryOffer;

// The editor's one main window. It conducts: the document with its commands
// and history, the file formats, rendering and configuration live in the
// core library, and the window calls them from its event handlers.
class TmainWin : public QMainWindow, private SkinTarget {
  public:
    explicit TmainWin(Platform& platform, QWidget* parent = nullptr);
    ~TmainWin() override;

    // Opens the two files as if chosen in the open dialogs.
    void OpenDocumentFiles(const QString& menuPath, const QString& textDbPath);
    // Opens them once the window has started (the files of the command line).
    void OpenWhenStarted(const QString& menuPath, const QString& textDbPath);

    // --- State, for the program's own parts and for tests -------------------
    Document& document() { return document_; }
    RecoveryJournal& recoveryJournal() { return *journal_; }
    const std::vector<MenuItemRecord>& menuItems() const { return document_.records(); }
    const TextDb& textDb() const { return document_.textDb(); }
    std::uint32_t menuItemCount() const { return static_cast<std::uint32_t>(document_.count()); }
    const QString& savePath() const { return document_.savePath(); }
    // The current record, or -1 before a document is open.
    int selectedIndex() const;
    // The selected records, the current one among them.
    RecordSelection& selection() { return *selection_; }
    std::uint8_t opacityValue() const { return opacity_; }
    std::uint8_t fadeTarget() const { return fadeTarget_; }
    bool useMetro() const { return useMetro_; }
    bool activated() const { return activated_; }

    // --- Controls (named as the design of the window names them) -------------
    RecordListView* lbMain = nullptr;
    QWidget* pnMain = nullptr;
    PreviewPanel* pnMap = nullptr;
    PictureLabel* imBg2 = nullptr;
    QWidget* pnSb = nullptr;
    PictureLabel* imSb = nullptr;
    PictureLabel* imIcon = nullptr;
    QLabel* lbMenu1 = nullptr;
    QLabel* lbMenu2 = nullptr;
    QLabel* lbMIcount1 = nullptr;
    QLabel* lbMIcount2 = nullptr;
    QLabel* lbStatus1 = nullptr;
    QLabel* lbStatus2 = nullptr;
    QLabel* lnLang1 = nullptr;
    LanguageBox* cbLang = nullptr;
    QProgressBar* pbSb = nullptr;
    QWidget* pnSbInfo = nullptr;
    PictureLabel* imSbInfo = nullptr;
    QLabel* lbSbInfo1 = nullptr;
    QLabel* lbSbInfo2 = nullptr;
    QLabel* lbSbInfo3 = nullptr;
    QLabel* lbSbInfo4 = nullptr;

    QLabel* lbMI = nullptr;
    QPushButton* btCopy = nullptr;
    QPushButton* btPaste = nullptr;
    QLabel* lbType = nullptr;
    QLabel* lbID = nullptr;
    QLineEdit* edID = nullptr;
    TypeBox* cbType = nullptr;
    QLabel* lbPos = nullptr;
    QLabel* lbPosX = nullptr;
    QLineEdit* edPosX = nullptr;
    QLabel* lbPosY = nullptr;
    QLineEdit* edPosY = nullptr;
    QLabel* lbScale = nullptr;
    QLabel* lbScaleX = nullptr;
    QLineEdit* edScaleX = nullptr;
    QLabel* lbScaleY = nullptr;
    QLineEdit* edScaleY = nullptr;
    QLabel* lbAtt = nullptr;
    QLabel* lbTextdb = nullptr;
    QLineEdit* edTextdb = nullptr;
    QLabel* lbFont = nullptr;
    QLineEdit* edFont = nullptr;
    QLabel* lbColor = nullptr;
    QLineEdit* edColor = nullptr;
    // The Text line: caption, field and note.
    TextLine* textLine = nullptr;
    FindBar* findBar = nullptr;

    QMenu* mmMainFile = nullptr;
    QAction* mmMainOpen = nullptr;
    QAction* mmMainSave = nullptr;
    QAction* mmMainSaveAs = nullptr;
    QAction* mmMainExit = nullptr;
    QMenu* mmMainEdit = nullptr;
    QAction* mmMainUndo = nullptr;
    QAction* mmMainRedo = nullptr;
    QAction* mmMainCopy = nullptr;
    QAction* mmMainPaste = nullptr;
    QAction* mmMainInsert = nullptr;
    QAction* mmMainDelete = nullptr;
    QAction* mmMainNewText = nullptr;
    QAction* mmMainFind = nullptr;
    QAction* mmMainFindNext = nullptr;
    QAction* mmMainFindPrevious = nullptr;
    QAction* mmMainGoTo = nullptr;
    QMenu* mmMainView = nullptr;
    ViewMenu* viewMenu = nullptr;
    ViewOptions* viewOptions = nullptr;
    ViewStatus* viewStatus = nullptr;
    ArrangeMenu* arrangeMenu = nullptr;
    QMenu* mmMainHelp = nullptr;
    QAction* mmMainHelp2 = nullptr;
    // The record commands of the Edit menu, at the pointer; in the preview
    // with the Arrange menu.
    QMenu* pmRecord = nullptr;
    QMenu* pmPreview = nullptr;

    QTimer* tmActivate = nullptr;

    // --- Event handlers -------------------------------------------------------
    void FormActivate();
    void tmActivateTimer();
    void mmMainOpenClick();
    void imBg2Click() { mmMainOpenClick(); }
    void mmMainSaveClick();
    void mmMainSaveAsClick();
    void mmMainExitClick();
    void mmMainHelp2Click();
    void lbSbInfo2Click();
    void lbSbInfo4Click();
    void lbMainClick();
    void edIDExit();
    void edPosXExit();
    void edPosYExit();
    void edScaleXExit();
    void edScaleYExit();
    void edTextdbExit();
    void edFontExit();
    void edColorExit();
    void cbTypeExit();
    void mmMainCopyClick();
    void mmMainPasteClick();
    void mmMainInsertClick();
    void mmMainDeleteClick();
    void mmMainNewTextClick();
    void mmMainUndoClick();
    void mmMainRedoClick();
    void mmMainFindClick();
    void mmMainFindNextClick();
    void mmMainFindPreviousClick();
    void mmMainGoToClick();
    void cbLangChange();

    // --- Operations -----------------------------------------------------------
    // Reads a document from the two devices (its files, or a recovered copy)
    // and shows it; false, with the document as it was, when it was refused.
    bool LoadDocuments(QIODevice& menuFile, QIODevice& textDbFile, const QString& menuPath,
                       const QString& textDbPath);
    // Asked before the document is closed or replaced: true when it may go
    // (nothing unsaved, saved, or the user let it go), false to keep it.
    bool FormCloseQuery();
    void ShowError(const QString& message);
    void SetStatusText(const QString& text);
    void RebuildItemList();
    void RefreshItemView();
    void FillPropertyPanel();
    void DrawPreview();
    void LoadSkin();
    void LoadLanguageList(LineReader& reader);
    void LoadLanguage(LineReader& reader);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void RunActivationSequence();
    void AfterActivation();
    void OpenPendingFiles();

    // Layout and texts.
    void CreateMenus();
    void CreateStatusBar(QWidget* client);
    void CreatePropertyPanel(QWidget* client);
    void LayOutClientArea();
    int ListWidth() const;
    void ShowCutStatusWhole();
    void LayOutStatusBar();
    void ApplyTexts();
    void ShowCount();
    // "Kavel.def Editor v1.00", with the two files once loaded, a "*" after
    // the version while there is unsaved work, and after each file's bracket
    // while that file has some.
    void UpdateTitle();
    // Whether the menu file and the string database have unsaved work, typing
    // not yet taken over included.
    std::pair<bool, bool> UnsavedFiles() const;
    void UpdateHistoryActions();

    // Runs a step whose errors (a conversion, a picture) go to the standard
    // error box; the rest of the step is skipped. Returns false on an error.
    bool RunGuarded(const std::function<void()>& step);
    void ShowErrorBoxLater(const QString& message);

    // Commits of the property fields: the text is converted and stored as one
    // step of the history when it changes the field.
    void CommitField(QLineEdit* field, RecordField recordField);
    void CommitFieldText(RecordField recordField, const QString& text);
    void CommitTypeText(const QString& text);
    void RunCommit(QObject* field);
    QLineEdit* EditOf(RecordField field) const;
    const QString& StepName(RecordField field) const;
    // The text the panel shows for a field of the selected record.
    QString ShownText(RecordField field) const;
    // Fields of the record whose text was typed and not yet committed.
    bool HasUncommittedTyping() const;
    // Commits them all; false when one does not convert (its error is shown).
    bool CommitUncommittedTyping();
    const MenuItemRecord* SelectedRecord() const;
    void SelectRow(int row);
    bool SaveTo(const QString& path);
    bool RefuseSavingOverTextDb(const QString& path);
    bool PanelKeyPressed(QObject* field, const QKeyEvent& key);
    bool IntoOwnList(QObject* field) const;
    void StepThroughHistory(bool forward);
    // Brings the window in line with a step done or undone.
    void ShowStepEffect(const RecordCommand::Effect& effect);
    // Selecting, moving and resizing by pointer and keys in the preview.
    void CreatePreviewPlacing();

    // SkinTarget.
    void SetUseMetro(bool useMetro) override;
    void SetFadeTarget(std::uint8_t fadeTarget) override;
    void SetBackgroundPicture(const QImage& picture) override;
    void SetOverlayPicture(int id, const QImage& picture) override;
    void SetCopyGlyph(const QImage& glyph) override;
    void SetPasteGlyph(const QImage& glyph) override;
    void SetStatusStrip(const QImage& picture) override;
    void SetCreditsSeparator(const QImage& picture) override;
    void SetWindowColor(std::uint32_t color) override;
    void SetInputBackgroundColor(std::uint32_t color) override;
    void SetWindowTextColor(std::uint32_t color) override;
    void SetInputTextColor(std::uint32_t color) override;
    void SetHeadingTextColor(std::uint32_t color) override;
    void SetCaptionTextColor(std::uint32_t color) override;
    void SetStatusBarColor(std::uint32_t color) override;
    void SetPreviewColor(int index, std::uint32_t color) override;

    std::vector<QWidget*> InputControls() const;
    std::vector<QWidget*> WindowTextControls() const;

    Platform& platform_;
    QWidget* client_ = nullptr;
    Document document_;
    RecordListModel* listModel_ = nullptr;
    std::unique_ptr<ShortcutPriorityFilter> shortcutFilter_;
    RecordSelection* selection_ = nullptr;
    std::unique_ptr<PanelValues> panelValues_;
    RecordClipboard* clipboard_ = nullptr;
    PreviewPlacing* previewPlacing_ = nullptr;

    // The shell.
    bool activated_ = false;
    bool useMetro_ = false;
    std::uint8_t fadeTarget_ = 250;
    std::uint8_t fadeLast_ = 0;
    std::uint8_t opacity_ = 0;
    bool updatingList_ = false;
    bool committing_ = false;
    bool languageBoxUpdating_ = false;
    // The activation asked the user to choose a language.
    bool languageAsked_ = false;
    QStringList pendingFiles_;

    // Finding records and the record's text (main_window_find.cpp).
    enum class FindMove { None, FromAnchor, Next, Previous };
    void CreateFindControls();
    void ApplyFindTexts();
    void LayOutFindBar(int above);
    void RequestFindMove(FindMove move);
    void StepToMatch(FindMove move);
    void RunSearch();
    void ShowFindState();
    void CloseFindBar();
    // Selects a record as a click on its row would.
    void GoToRecord(std::size_t index);
    RecordSearch* search_ = nullptr;
    QTimer* searchTimer_ = nullptr;
    FindMove pendingMove_ = FindMove::None;
    std::size_t findAnchor_ = 0;
    QPointer<QWidget> focusBeforeFind_;

    // Following the two files on disk (main_window_watch.cpp).
    void WatchDocumentFiles(QIODevice& menuFile, QIODevice& textDbFile);
    void BeforeSave();
    void AfterSave(const QString& path, const Document::SaveOutcome& saved);
    // Opens a watched file that changed, and tells its version; nothing,
    // after telling the user, when it cannot be read.
    std::optional<FileFingerprint> OpenChangedFile(WatchedFile& watch, QFile& file);
    void MenuFileChanged();
    void TextDbChanged();
    void ReloadMenuFile(LoadedDocument&& loaded);
    void ReloadTextDb();
    WatchedFile* menuWatch_ = nullptr;
    WatchedFile* textDbWatch_ = nullptr;

    // Unsaved work kept against a kill, and offered after one; gone before
    // the document, which the journal reads to the end.
    std::unique_ptr<RecoveryJournal> journal_;
    std::unique_ptr<RecoveryOffer> recoveryOffer_;
};
