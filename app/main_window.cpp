// Construction and layout of the main window.
#include "app/main_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include "app/arrange_menu.h"
#include "app/find_bar.h"
#include "app/language_box.h"
#include "app/message_table.h"
#include "app/picture_label.h"
#include "app/platform.h"
#include "app/panel_values.h"
#include "app/preview_panel.h"
#include "app/preview_placing.h"
#include "app/record_clipboard.h"
#include "app/record_list_view.h"
#include "app/recovery_offer.h"
#include "app/shortcut_priority_filter.h"
#include "app/text_line.h"
#include "app/view_menu.h"
#include "app/view_options.h"
#include "app/view_status.h"
#include "assets/builtin_pictures.h"
#include "document/recovery_folder.h"
#include "document/recovery_journal.h"
#include "editing/record_edits.h"
#include "editing/record_list_model.h"
#include "editing/record_selection.h"

namespace {

constexpr int kPanelWidth = 160;
constexpr int kStatusBarHeight = 53;

QFont PixelFont(const QFont& base, int pixels, bool bold = false) {
    QFont font = base;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Right-aligned labels keep their right edge when their text changes.
void PlaceRightAligned(QLabel* label, int rightEdge, int top) {
    label->adjustSize();
    label->move(rightEdge - label->width(), top);
}

void PlaceLeft(QLabel* label, int left, int top) {
    label->adjustSize();
    label->move(left, top);
}

QLabel* NewLabel(QWidget* parent, const QString& text = QString()) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

TmainWin::TmainWin(Platform& platform, QWidget* parent) : QMainWindow(parent), platform_(platform) {
    setWindowTitle(fixed_text::kCaption);
    // Where Segoe UI is missing, the metric-compatible sans of Arial is the
    // closest in width, so that the captions fit the places they were made for.
    QFont::insertSubstitution(QStringLiteral("Segoe UI"), QStringLiteral("Liberation Sans"));
    QFont windowFont(QStringLiteral("Segoe UI"));
    windowFont.setPixelSize(12);
    setFont(windowFont);
    setMinimumSize(650, 380);
    resize(650, 380);
    setWindowIcon(QIcon(QPixmap::fromImage(BuiltinIcon())));
    setWindowOpacity(0.0);

    client_ = new QWidget(this);
    client_->setAutoFillBackground(true);
    setCentralWidget(client_);

    imBg2 = new PictureLabel(client_);
    imBg2->SetPicture(BuiltinBackground());
    imBg2->SetOnClick([this] { imBg2Click(); });
    imBg2->setCursor(Qt::PointingHandCursor);

    listModel_ = new RecordListModel(document_, this);
    // After the list's model: the selection follows records the list has.
    selection_ = new RecordSelection(document_, this);
    panelValues_ = std::make_unique<PanelValues>();
    lbMain = new RecordListView(client_);
    lbMain->setModel(listModel_);
    lbMain->SetSelection(selection_);
    // A list of a million records is laid out in steps between events, so a
    // duplicate or a delete never waits for the whole list.
    lbMain->setLayoutMode(QListView::Batched);
    lbMain->setBatchSize(50000);
    lbMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbMain->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbMain->setFocusPolicy(Qt::StrongFocus);
    lbMain->hide();
    // A right press has selected the row under the pointer already.
    lbMain->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lbMain, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        if (selectedIndex() >= 0) pmRecord->popup(lbMain->viewport()->mapToGlobal(at));
    });
    // The list is as wide as its labels need: 89 pixels, more once the
    // indices run to six digits and more.
    const auto fitList = [this] {
        if (lbMain->width() != ListWidth()) LayOutClientArea();
    };
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(listModel_, signal, this, fitList);
    connect(listModel_, &QAbstractItemModel::modelReset, this, fitList);
    connect(selection_, &RecordSelection::changed, this, [this] {
        if (!updatingList_) lbMainClick();
    });
    connect(&document_, &Document::fileStatesChanged, this, [this] { UpdateTitle(); });
    QUndoStack& history = document_.history();
    connect(&history, &QUndoStack::indexChanged, this, [this] { UpdateHistoryActions(); });
    connect(&history, &QUndoStack::cleanChanged, this, [this] { UpdateHistoryActions(); });

    CreatePropertyPanel(client_);

    pnMap = new PreviewPanel(client_);
    pnMap->hide();
    CreatePreviewPlacing();

    CreateStatusBar(client_);
    CreateMenus();
    CreateFindControls();
    // Paste has something while the clipboard or the copy buffer has records.
    const auto pasteState = [this] {
        const bool can = document_.isOpen() && clipboard_->CanPaste();
        mmMainPaste->setEnabled(can);
        btPaste->setEnabled(can);
    };
    clipboard_ = new RecordClipboard(pasteState, this);
    connect(&document_, &Document::reset, this, pasteState);

    shortcutFilter_ = std::make_unique<ShortcutPriorityFilter>(
        this,
        QList<QAction*>{mmMainOpen, mmMainSave, mmMainSaveAs, mmMainExit, mmMainUndo, mmMainRedo,
                        mmMainCopy, mmMainPaste, mmMainInsert, mmMainDelete, mmMainNewText,
                        mmMainHelp2});
    // A field with typing of its own to take back keeps Ctrl+Z (and the redo
    // keys) for that; once its text is as the panel showed it, they undo and
    // redo the document's steps.
    shortcutFilter_->SetKeyLeftToField([this](const QAction* action, QWidget* focused) {
        // Del in the find field deletes a character of what is sought.
        if (action == mmMainDelete && findBar->isAncestorOf(focused)) return true;
        const QLineEdit* edit = qobject_cast<const QLineEdit*>(focused);
        if (const auto* box = qobject_cast<const QComboBox*>(focused)) edit = box->lineEdit();
        if (edit == nullptr || !edit->isModified()) return false;
        if (action == mmMainUndo) return edit->isUndoAvailable();
        if (action == mmMainRedo) return edit->isRedoAvailable();
        return false;
    });
    qApp->installEventFilter(shortcutFilter_.get());

    for (QWidget* field : std::initializer_list<QWidget*>{edID, edPosX, edPosY, edScaleX, edScaleY,
                                                          edTextdb, edFont, edColor, cbType,
                                                          textLine->field()}) {
        field->installEventFilter(this);
    }
    // The title's "*" follows typing as well as the document.
    for (QLineEdit* field : {edID, edPosX, edPosY, edScaleX, edScaleY, edTextdb, edFont, edColor,
                             cbType->lineEdit(), textLine->field()})
        connect(field, &QLineEdit::textEdited, this, [this] { UpdateTitle(); });
    connect(cbType, &QComboBox::textActivated, this, [this] { UpdateTitle(); });

    tmActivate = new QTimer(this);
    tmActivate->setInterval(1);
    connect(tmActivate, &QTimer::timeout, this, [this] { tmActivateTimer(); });
    tmActivate->start();

    const QString recoveryFolder = DefaultRecoveryFolder();
    journal_ = std::make_unique<RecoveryJournal>(document_, recoveryFolder);
    journal_->unsavedTextDb = [this]() -> std::optional<QByteArray> {
        if (!document_.textDbModified()) return std::nullopt;
        return document_.EncodeTextDb();
    };
    connect(journal_.get(), &RecoveryJournal::copyFailed, this, [this](const QString& folder) {
        ShowError(MessageTable().recoveryNotWritten.arg(folder));
    });
    recoveryOffer_ = std::make_unique<RecoveryOffer>(*this, platform_, *journal_, recoveryFolder);

    ApplyTexts();
    LayOutClientArea();
}

TmainWin::~TmainWin() {
    // The document's last signals (its history going) find the window's
    // parts gone.
    document_.disconnect(this);
    if (qApp) qApp->removeEventFilter(shortcutFilter_.get());
    // The placing watches the preview's events; the preview's last ones,
    // sent while it is taken apart, must not reach it.
    delete previewPlacing_;
    // The list leaves the model, and the model the document, before the
    // document goes with this object's members.
    lbMain->setModel(nullptr);
    delete listModel_;
}

void TmainWin::CreateMenus() {
    mmMainFile = menuBar()->addMenu(QString());
    mmMainOpen = mmMainFile->addAction(QString());
    mmMainOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mmMainFile->addSeparator();
    mmMainSave = mmMainFile->addAction(QString());
    mmMainSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mmMainSaveAs = mmMainFile->addAction(QString());
    mmMainSaveAs->setShortcut(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S));
    mmMainFile->addSeparator();
    mmMainExit = mmMainFile->addAction(QString());
    mmMainExit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

    mmMainEdit = menuBar()->addMenu(QString());
    mmMainUndo = mmMainEdit->addAction(QString());
    mmMainUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mmMainRedo = mmMainEdit->addAction(QString());
    mmMainRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mmMainEdit->addSeparator();
    mmMainCopy = mmMainEdit->addAction(QString());
    mmMainCopy->setShortcut(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_C));
    mmMainPaste = mmMainEdit->addAction(QString());
    mmMainPaste->setShortcut(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_V));
    mmMainEdit->addSeparator();
    mmMainInsert = mmMainEdit->addAction(QString());
    mmMainInsert->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    mmMainDelete = mmMainEdit->addAction(QString());
    mmMainDelete->setShortcut(QKeySequence(Qt::Key_Delete));
    mmMainEdit->addSeparator();
    mmMainNewText = mmMainEdit->addAction(QString());
    mmMainNewText->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));

    mmMainView = menuBar()->addMenu(QString());
    viewMenu = new ViewMenu(mmMainView, *pnMap, platform_, this);
    mmMainView->addSeparator();
    viewOptions = new ViewOptions(mmMainView, [this] {
        previewPlacing_->SetElementsAlone(viewOptions->elementsAlone());
        DrawPreview();
    });
    previewPlacing_->SetElementsAlone(viewOptions->elementsAlone());
    arrangeMenu = new ArrangeMenu(menuBar()->addMenu(QString()), document_, *selection_,
                                  [this] { ShowStepEffect(*editing::LastDone(document_)); });

    mmMainHelp = menuBar()->addMenu(QString());
    mmMainHelp2 = mmMainHelp->addAction(QString());
    mmMainHelp2->setShortcut(QKeySequence(Qt::Key_F1));

    for (QAction* action :
         {mmMainOpen, mmMainSave, mmMainSaveAs, mmMainExit, mmMainUndo, mmMainRedo, mmMainCopy,
          mmMainPaste, mmMainInsert, mmMainDelete, mmMainNewText, mmMainHelp2}) {
        action->setShortcutContext(Qt::WindowShortcut);
    }
    for (QAction* action : {mmMainSave, mmMainSaveAs, mmMainUndo, mmMainRedo, mmMainCopy,
                            mmMainPaste, mmMainInsert, mmMainDelete, mmMainNewText}) {
        action->setEnabled(false);
    }

    connect(mmMainOpen, &QAction::triggered, this, [this] { mmMainOpenClick(); });
    connect(mmMainSave, &QAction::triggered, this, [this] { mmMainSaveClick(); });
    connect(mmMainSaveAs, &QAction::triggered, this, [this] { mmMainSaveAsClick(); });
    connect(mmMainExit, &QAction::triggered, this, [this] { mmMainExitClick(); });
    connect(mmMainUndo, &QAction::triggered, this, [this] { mmMainUndoClick(); });
    connect(mmMainRedo, &QAction::triggered, this, [this] { mmMainRedoClick(); });
    connect(mmMainCopy, &QAction::triggered, this, [this] { mmMainCopyClick(); });
    connect(mmMainPaste, &QAction::triggered, this, [this] { mmMainPasteClick(); });
    connect(mmMainInsert, &QAction::triggered, this, [this] { mmMainInsertClick(); });
    connect(mmMainDelete, &QAction::triggered, this, [this] { mmMainDeleteClick(); });
    connect(mmMainNewText, &QAction::triggered, this, [this] { mmMainNewTextClick(); });
    connect(mmMainHelp2, &QAction::triggered, this, [this] { mmMainHelp2Click(); });

    // The record commands at the pointer, on a right click in the list or
    // the preview.
    pmRecord = new QMenu(this);
    pmRecord->addActions({mmMainUndo, mmMainRedo});
    pmRecord->addSeparator();
    pmRecord->addActions({mmMainCopy, mmMainPaste});
    pmRecord->addSeparator();
    pmRecord->addActions({mmMainInsert, mmMainDelete});
    pmPreview = new QMenu(this);
    pmPreview->addActions(pmRecord->actions());
    pmPreview->addSeparator();
    pmPreview->addMenu(arrangeMenu->menu());
}

void TmainWin::CreatePropertyPanel(QWidget* client) {
    pnMain = new QWidget(client);
    pnMain->hide();
    const QFont headingFont = PixelFont(font(), 14, true);

    auto heading = [this, &headingFont](int left, int top) {
        QLabel* label = NewLabel(pnMain);
        label->setFont(headingFont);
        label->setForegroundRole(QPalette::Highlight);
        label->move(left, top);
        return label;
    };
    auto caption = [this](int left, int top) {
        QLabel* label = NewLabel(pnMain);
        label->move(left, top);
        return label;
    };
    auto field = [this](int left, int top, int width) {
        auto* edit = new QLineEdit(pnMain);
        edit->setGeometry(left, top, width, 20);
        edit->setTextMargins(-1, 0, -1, 0);
        return edit;
    };

    lbMI = heading(8, 8);
    btCopy = new QPushButton(pnMain);
    btCopy->setGeometry(112, 6, 20, 20);
    SetGlyph(btCopy, BuiltinCopyGlyph());
    btCopy->setFocusPolicy(Qt::StrongFocus);
    btPaste = new QPushButton(pnMain);
    btPaste->setGeometry(132, 6, 20, 20);
    SetGlyph(btPaste, BuiltinPasteGlyph());
    btPaste->setFocusPolicy(Qt::StrongFocus);
    btPaste->setEnabled(false);
    connect(btCopy, &QPushButton::clicked, this, [this] { mmMainCopyClick(); });
    connect(btPaste, &QPushButton::clicked, this, [this] { mmMainPasteClick(); });

    lbType = caption(8, 32);
    lbID = caption(88, 32);
    edID = field(104, 31, 49);
    cbType = new TypeBox(pnMain);
    cbType->setGeometry(8, 55, 145, 20);
    cbType->setFont(PixelFont(font(), 11));

    lbPos = heading(8, 80);
    lbPosX = caption(8, 104);
    edPosX = field(24, 103, 49);
    lbPosY = caption(88, 104);
    edPosY = field(104, 103, 49);
    lbScale = heading(8, 128);
    lbScaleX = caption(8, 152);
    edScaleX = field(24, 151, 49);
    lbScaleY = caption(88, 152);
    edScaleY = field(104, 151, 49);
    lbAtt = heading(8, 176);
    lbTextdb = caption(8, 200);
    edTextdb = field(80, 199, 73);
    lbFont = caption(8, 224);
    edFont = field(80, 223, 73);
    lbColor = caption(8, 248);
    edColor = field(80, 247, 73);

    // Tab order: the eight fields, then the type box and the two buttons.
    QWidget* order[] = {edID,   edPosX,  edPosY, edScaleX, edScaleY, edTextdb,
                        edFont, edColor, cbType, btCopy,   btPaste};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void TmainWin::CreateStatusBar(QWidget* client) {
    pnSb = new QWidget(client);
    pnSb->setAutoFillBackground(true);
    QPalette statusPalette = pnSb->palette();
    statusPalette.setColor(QPalette::Window,
                           palette().color(QPalette::Inactive, QPalette::Midlight));
    pnSb->setPalette(statusPalette);

    imSb = new PictureLabel(pnSb);
    imSb->SetPicture(BuiltinStatusStrip());
    imIcon = new PictureLabel(pnSb);
    imIcon->SetPicture(BuiltinIcon());
    imIcon->setGeometry(16, 3, 48, 48);

    const QFont productFont = PixelFont(font(), 13);
    lbMenu1 = NewLabel(pnSb, fixed_text::kAppTitle);
    lbMenu1->setFont(productFont);
    lbMenu2 = NewLabel(pnSb, fixed_text::kVersion);
    lbMenu2->setFont(productFont);
    lbMIcount1 = NewLabel(pnSb);
    lbMIcount2 = NewLabel(pnSb, QStringLiteral("-"));
    lbStatus1 = NewLabel(pnSb);
    lbStatus2 = NewLabel(pnSb, QStringLiteral("-"));
    lnLang1 = NewLabel(pnSb);
    for (QLabel* grey : {lbMIcount1, lbStatus1, lnLang1}) {
        QPalette greyPalette = grey->palette();
        greyPalette.setColor(QPalette::WindowText, Qt::gray);
        grey->setPalette(greyPalette);
    }

    cbLang = new LanguageBox(pnSb);
    cbLang->setEditable(true);
    cbLang->setInsertPolicy(QComboBox::NoInsert);
    cbLang->setCompleter(nullptr);
    cbLang->setFont(PixelFont(font(), 9));
    cbLang->setGeometry(288, 23, 97, 20);
    cbLang->setEditText(MessageTable().defaultLanguage);
    connect(cbLang, &QComboBox::currentTextChanged, this, [this] {
        if (!languageBoxUpdating_) cbLangChange();
    });

    pbSb = new QProgressBar(pnSb);
    pbSb->setRange(0, 100);
    pbSb->setTextVisible(false);
    pbSb->hide();

    pnSbInfo = new QWidget(pnSb);
    // Opaque in the status bar's colour, so that a long state message runs
    // under the credits rather than through them.
    pnSbInfo->setAutoFillBackground(true);
    imSbInfo = new PictureLabel(pnSbInfo);
    imSbInfo->SetPicture(BuiltinInfoSeparator());
    imSbInfo->setGeometry(0, 0, 1, 48);
    const QFont creditFont = PixelFont(font(), 9);
    lbSbInfo1 = NewLabel(pnSbInfo);
    lbSbInfo2 = NewLabel(pnSbInfo, fixed_text::kWebLinkText);
    lbSbInfo3 = NewLabel(pnSbInfo, fixed_text::kLastCreditLine);
    lbSbInfo4 = NewLabel(pnSbInfo, fixed_text::kMailLinkText);
    for (QLabel* credit : {lbSbInfo1, lbSbInfo2, lbSbInfo3, lbSbInfo4}) credit->setFont(creditFont);
    QFont linkFont = creditFont;
    linkFont.setUnderline(true);
    lbSbInfo2->setFont(linkFont);
    lbSbInfo2->setCursor(Qt::PointingHandCursor);
    lbSbInfo2->installEventFilter(this);
    if (!fixed_text::kMailAddress.isEmpty()) {
        lbSbInfo4->setFont(linkFont);
        lbSbInfo4->setCursor(Qt::PointingHandCursor);
    }
    lbSbInfo4->installEventFilter(this);
    // Where the never shown progress bar would be.
    viewStatus = new ViewStatus(pnSb, 392, 26, *pnMap);
}

void TmainWin::LayOutClientArea() {
    if (client_ == nullptr) return;
    const int width = client_->width();
    const int above = std::max(0, client_->height() - kStatusBarHeight);
    imBg2->setGeometry(0, 0, width, above);
    const int listWidth = ListWidth();
    lbMain->setGeometry(0, 0, listWidth, above);
    pnMain->setGeometry(listWidth, 0, kPanelWidth, above);
    pnMap->setGeometry(listWidth + kPanelWidth, 0, std::max(0, width - listWidth - kPanelWidth),
                       above);
    pnSb->setGeometry(0, above, width, kStatusBarHeight);
    LayOutFindBar(above);
    LayOutStatusBar();
}

int TmainWin::ListWidth() const {
    return lbMain->WidthToShowLabels(static_cast<std::size_t>(listModel_->rowCount()),
                                     RecordListView::kWidth);
}

void TmainWin::LayOutStatusBar() {
    const int width = pnSb->width();
    imSb->setGeometry(0, 0, width, 5);
    PlaceRightAligned(lbMenu1, 171, 6);
    PlaceLeft(lbMenu2, 176, 6);
    PlaceRightAligned(lbMIcount1, 169, 24);
    PlaceLeft(lbMIcount2, 176, 24);
    PlaceRightAligned(lbStatus1, 281, 8);
    PlaceLeft(lbStatus2, 288, 8);
    PlaceRightAligned(lnLang1, 281, 24);
    pbSb->setGeometry(392, 23, std::max(0, width - 127 - 392), 20);
    pnSbInfo->setGeometry(width - 124, 5, 124, 48);
    // The first credit line sits 3 pixels above the panel, in the room a
    // font keeps above its capitals; a font that keeps less there (Liberation
    // Sans in place of Segoe UI) is lowered so its capitals are not cut.
    const QFontMetricsF credit(lbSbInfo1->font());
    const int creditTop = std::max(-3, -static_cast<int>(credit.ascent() - credit.capHeight()));
    PlaceRightAligned(lbSbInfo1, 113, creditTop);
    PlaceRightAligned(lbSbInfo2, 113, 7);
    PlaceRightAligned(lbSbInfo4, 113, 20);
    PlaceRightAligned(lbSbInfo3, 113, 33);
    ShowCutStatusWhole();
}

void TmainWin::ApplyTexts() {
    const LanguageTexts& texts = MessageTable();
    platform_.UseToolkitLanguage(texts.toolkitLanguage);
    mmMainFile->setTitle(texts.fileMenu);
    mmMainEdit->setTitle(texts.editMenu);
    mmMainView->setTitle(texts.viewMenu);
    viewMenu->ApplyTexts(texts);
    viewOptions->ApplyTexts(texts);
    viewStatus->ApplyTexts(texts);
    arrangeMenu->ApplyTexts(texts);
    mmMainHelp->setTitle(texts.helpMenu);
    mmMainOpen->setText(texts.openAction);
    mmMainSave->setText(texts.saveAction);
    mmMainSaveAs->setText(texts.saveAsAction);
    mmMainExit->setText(texts.exitAction);
    UpdateHistoryActions();
    mmMainCopy->setText(texts.copyItemAction);
    mmMainPaste->setText(texts.pasteItemAction);
    mmMainInsert->setText(texts.duplicateItemAction);
    mmMainDelete->setText(texts.deleteItemAction);
    mmMainNewText->setText(texts.newTextAction);
    mmMainHelp2->setText(texts.helpAction);
    lbMIcount1->setText(texts.itemsCountCaption);
    lbStatus1->setText(texts.stateCaption);
    lnLang1->setText(texts.languageCaption);
    lbSbInfo1->setText(texts.CreditLine());
    lbMI->setText(texts.menuItemHeading);
    btCopy->setToolTip(texts.copyButtonHint);
    btPaste->setToolTip(texts.pasteButtonHint);
    lbID->setText(texts.idCaption);
    lbType->setText(texts.typeCaption);
    lbPos->setText(texts.positionHeading);
    lbPosX->setText(texts.positionXCaption);
    lbPosY->setText(texts.positionYCaption);
    lbScale->setText(texts.scaleHeading);
    lbScaleX->setText(texts.scaleXCaption);
    lbScaleY->setText(texts.scaleYCaption);
    lbAtt->setText(texts.attributesHeading);
    lbTextdb->setText(texts.textIdCaption);
    lbFont->setText(texts.fontColorCaption);
    lbColor->setText(texts.colorCaption);
    for (QLabel* label : {lbMI, lbID, lbType, lbPos, lbPosX, lbPosY, lbScale, lbScaleX, lbScaleY,
                          lbAtt, lbTextdb, lbFont, lbColor}) {
        label->adjustSize();
    }

    // The type box's rows; its text stays what it was.
    const QString shown = cbType->currentText();
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(texts.typeEntries.size()));
    for (const QString& row : texts.typeEntries) rows.append(row);
    const QSignalBlocker blocker(cbType);
    cbType->clear();
    cbType->addItems(rows);
    cbType->setCurrentIndex(-1);
    cbType->setEditText(shown);
    // The drop-down list is as wide as its widest row, so that no
    // description is cut short; the box keeps its own width.
    QAbstractItemView* typeList = cbType->view();
    typeList->setMinimumWidth(typeList->sizeHintForColumn(0) + 2 * typeList->frameWidth() +
                              typeList->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    ApplyFindTexts();
    LayOutStatusBar();
}

void TmainWin::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    LayOutClientArea();
}

bool TmainWin::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) {
        if (!activated_) {
            // The first activation (or the first showing, where the desktop
            // activates nothing) runs the activation sequence, once.
            QTimer::singleShot(0, this, [this] {
                if (!activated_) FormActivate();
            });
        }
    }
    return QMainWindow::event(event);
}

void TmainWin::SetStatusText(const QString& text) {
    lbStatus2->setText(text);
    lbStatus2->adjustSize();
    ShowCutStatusWhole();
}

void TmainWin::ShowCutStatusWhole() {
    // A message that runs under the credits shows whole when pointed at.
    if (pnSbInfo == nullptr) return;
    const bool cut = lbStatus2->x() + lbStatus2->width() > pnSbInfo->x();
    lbStatus2->setToolTip(cut ? lbStatus2->text() : QString());
}
