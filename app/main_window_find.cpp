// Finding records, going to one by its index, and the selected record's text
// in the property panel (TextLine).
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include "app/find_bar.h"
#include "app/main_window.h"
#include "app/message_table.h"
#include "app/panel_values.h"
#include "app/platform.h"
#include "app/record_list_view.h"
#include "app/text_line.h"
#include "editing/record_search.h"

namespace {

// The longest step of a search between two events of the window.
constexpr std::chrono::milliseconds kSearchStep{30};

}  // namespace

void TmainWin::CreateFindControls() {
    mmMainEdit->addSeparator();
    mmMainFind = mmMainEdit->addAction(QString());
    mmMainFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mmMainFindNext = mmMainEdit->addAction(QString());
    mmMainFindNext->setShortcut(QKeySequence(Qt::Key_F3));
    mmMainFindPrevious = mmMainEdit->addAction(QString());
    mmMainFindPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    mmMainGoTo = mmMainEdit->addAction(QString());
    mmMainGoTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    for (QAction* action : {mmMainFind, mmMainFindNext, mmMainFindPrevious, mmMainGoTo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
    }
    connect(mmMainFind, &QAction::triggered, this, [this] { mmMainFindClick(); });
    connect(mmMainFindNext, &QAction::triggered, this, [this] { mmMainFindNextClick(); });
    connect(mmMainFindPrevious, &QAction::triggered, this, [this] { mmMainFindPreviousClick(); });
    connect(mmMainGoTo, &QAction::triggered, this, [this] { mmMainGoToClick(); });

    search_ = new RecordSearch(document_, this);
    searchTimer_ = new QTimer(this);
    searchTimer_->setSingleShot(true);
    searchTimer_->setInterval(0);
    connect(searchTimer_, &QTimer::timeout, this, [this] { RunSearch(); });

    findBar = new FindBar(client_);
    findBar->hide();
    findBar->onTextChanged = [this](const QString& text) {
        search_->SetQuery(text);
        RequestFindMove(text.isEmpty() ? FindMove::None : FindMove::FromAnchor);
    };
    findBar->onNext = [this] { RequestFindMove(FindMove::Next); };
    findBar->onPrevious = [this] { RequestFindMove(FindMove::Previous); };
    findBar->onClose = [this] { CloseFindBar(); };

    // The records selected share the text shown, or the line shows none.
    textLine = new TextLine(document_, pnMain, [this]() -> std::optional<std::size_t> {
        const int row = selectedIndex();
        if (row < 0 || !panelValues_->Bits(RecordField::TextId)) return std::nullopt;
        return static_cast<std::size_t>(row);
    });
    // After Color in the tab order, before the type box.
    QWidget::setTabOrder(edColor, textLine->field());
    QWidget::setTabOrder(textLine->field(), cbType);

    connect(&document_, &Document::reset, this, [this] {
        for (QAction* action : {mmMainFind, mmMainFindNext, mmMainFindPrevious, mmMainGoTo})
            action->setEnabled(document_.isOpen());
        if (!document_.isOpen()) CloseFindBar();
    });
}

void TmainWin::ApplyFindTexts() {
    const LanguageTexts& texts = MessageTable();
    mmMainFind->setText(texts.findAction);
    mmMainFindNext->setText(texts.findNextAction);
    mmMainFindPrevious->setText(texts.findPreviousAction);
    mmMainGoTo->setText(texts.goToAction);
    textLine->ApplyTexts();
    ShowFindState();
}

void TmainWin::LayOutFindBar(int above) {
    if (findBar == nullptr || findBar->isHidden()) return;
    // Under the list and as wide as list and panel together, so that the
    // count has room; the panel's fields end above it.
    const int top = std::max(0, above - FindBar::kHeight);
    lbMain->setGeometry(0, 0, lbMain->width(), top);
    findBar->setGeometry(0, top, lbMain->width() + pnMain->width(), FindBar::kHeight);
    findBar->raise();
}

void TmainWin::mmMainFindClick() {
    if (!document_.isOpen()) return;
    QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr || !findBar->isAncestorOf(focused)) focusBeforeFind_ = focused;
    findAnchor_ = static_cast<std::size_t>(std::max(0, selectedIndex()));
    if (findBar->isHidden()) {
        findBar->show();
        LayOutClientArea();
    }
    findBar->field()->setFocus(Qt::ShortcutFocusReason);
    findBar->field()->selectAll();
    ShowFindState();
    // A large document's table of texts is built while the user starts typing.
    if (!searchTimer_->isActive()) searchTimer_->start();
}

void TmainWin::mmMainFindNextClick() {
    StepToMatch(FindMove::Next);
}

void TmainWin::mmMainFindPreviousClick() {
    StepToMatch(FindMove::Previous);
}

void TmainWin::StepToMatch(FindMove move) {
    // Nothing sought yet: the keys open the bar to ask what.
    if (search_->query().isEmpty()) {
        mmMainFindClick();
        return;
    }
    if (findBar->isHidden()) {
        findBar->show();
        LayOutClientArea();
    }
    RequestFindMove(move);
}

void TmainWin::CloseFindBar() {
    searchTimer_->stop();
    pendingMove_ = FindMove::None;
    if (findBar->isHidden()) return;
    const bool hadFocus = findBar->isAncestorOf(QApplication::focusWidget());
    findBar->hide();
    LayOutClientArea();
    if (!hadFocus) return;
    QWidget* back = focusBeforeFind_;
    if (back == nullptr || !back->isVisible()) back = lbMain;
    back->setFocus(Qt::OtherFocusReason);
}

void TmainWin::RequestFindMove(FindMove move) {
    // As before a click on a row: what was typed into the focused field
    // lands in the record it was typed for before the selection moves.
    if (move != FindMove::None && !committing_) RunCommit(QApplication::focusWidget());
    pendingMove_ = move;
    RunSearch();
}

void TmainWin::RunSearch() {
    searchTimer_->stop();
    if (!search_->Work(kSearchStep)) {
        // The rest comes in later steps; the window answers in between.
        ShowFindState();
        searchTimer_->start();
        return;
    }
    const FindMove move = std::exchange(pendingMove_, FindMove::None);
    const int row = selectedIndex();
    const std::size_t from = static_cast<std::size_t>(std::max(0, row));
    std::optional<std::size_t> target;
    switch (move) {
        case FindMove::None:
            break;
        case FindMove::FromAnchor:
            target = search_->AtOrAfter(findAnchor_);
            break;
        case FindMove::Next:
            target = row < 0 ? search_->AtOrAfter(0) : search_->After(from);
            break;
        case FindMove::Previous:
            target = row < 0 ? search_->AtOrAfter(0) : search_->Before(from);
            break;
    }
    if (target && *target < document_.count()) GoToRecord(*target);
    ShowFindState();
}

void TmainWin::ShowFindState() {
    if (findBar == nullptr || findBar->isHidden()) return;
    const LanguageTexts& texts = MessageTable();
    if (search_->query().isEmpty()) {
        findBar->ShowCount(QString(), false);
        return;
    }
    if (!search_->upToDate()) {
        // The document changed under the matches, or the search goes on.
        findBar->ShowCount(QStringLiteral("\u2026"), false);
        if (!searchTimer_->isActive()) searchTimer_->start();
        return;
    }
    if (search_->count() == 0) {
        QPalette palette = findBar->countLabel()->palette();
        palette.setColor(QPalette::BrightText, preview::ColorFromSkin(SkinColors().skinColor1));
        findBar->countLabel()->setPalette(palette);
        findBar->ShowCount(texts.findNoMatch, true);
        return;
    }
    const int row = selectedIndex();
    const auto position =
        row < 0 ? std::nullopt : search_->PositionOf(static_cast<std::size_t>(row));
    findBar->ShowCount(
        texts.findMatchCount.arg(position ? QString::number(*position + 1) : QStringLiteral("?"))
            .arg(search_->count()),
        false);
}

void TmainWin::GoToRecord(std::size_t index) {
    if (index >= document_.count()) return;
    SelectRow(static_cast<int>(index));
    RefreshItemView();
}

void TmainWin::mmMainGoToClick() {
    if (!document_.isOpen()) return;
    const LanguageTexts& texts = MessageTable();
    const QString last = QString::number(document_.count() - 1);
    // A refused index is offered again, so that a slip of the finger is
    // mended in place rather than typed anew.
    QString typed;
    for (;;) {
        const std::optional<QString> answer =
            platform_.AskText(this, texts.goToTitle, texts.goToPrompt.arg(last), typed);
        // OK on an empty box goes nowhere, like Cancel.
        if (!answer || answer->trimmed().isEmpty()) return;
        if (!committing_) RunCommit(QApplication::focusWidget());
        typed = answer->trimmed();
        bool isNumber = false;
        const qlonglong index = typed.toLongLong(&isNumber, 10);
        if (isNumber && index >= 0 && static_cast<unsigned long long>(index) < document_.count()) {
            GoToRecord(static_cast<std::size_t>(index));
            return;
        }
        platform_.ShowMessageBox(this, fixed_text::kAppTitle,
                                 texts.goToOutOfRange.arg(typed, last));
    }
}
