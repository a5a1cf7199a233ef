#include "app/arrange_menu.h"

#include <QAction>
#include <QMenu>

#include "app/message_table.h"
#include "document/document.h"
#include "editing/record_edits.h"
#include "editing/record_selection.h"

namespace {

std::size_t IndexOf(arrange::Arrangement arrangement) {
    return static_cast<std::size_t>(arrangement);
}

// A menu caption as a step's name: without its access key.
QString WithoutAccessKey(QString caption) {
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

}  // namespace

ArrangeMenu::ArrangeMenu(QMenu* menu, Document& document, const RecordSelection& selection,
                         std::function<void()> done)
    : QObject(menu), menu_(menu), document_(document), selection_(selection), done_(std::move(done)) {
    // Disabled entries say why in their tooltips.
    menu_->setToolTipsVisible(true);
    for (const arrange::Arrangement arrangement : arrange::kArrangements) {
        // Separators between the edges, the centres, distributing and sizes.
        if (arrangement == arrange::Arrangement::AlignHorizontalCenters ||
            arrangement == arrange::Arrangement::DistributeHorizontally ||
            arrangement == arrange::Arrangement::SameWidth) {
            menu_->addSeparator();
        }
        QAction* action = menu_->addAction(QString());
        action->setEnabled(false);
        connect(action, &QAction::triggered, this, [this, arrangement] { Run(arrangement); });
        actions_[IndexOf(arrangement)] = action;
    }
}

QAction* ArrangeMenu::Action(arrange::Arrangement arrangement) const {
    return actions_[IndexOf(arrangement)];
}

void ArrangeMenu::ApplyTexts(const LanguageTexts& texts) {
    const QString* captions[] = {&texts.alignLeftAction,
                                 &texts.alignRightAction,
                                 &texts.alignTopAction,
                                 &texts.alignBottomAction,
                                 &texts.alignHorizontalCentersAction,
                                 &texts.alignVerticalCentersAction,
                                 &texts.distributeHorizontallyAction,
                                 &texts.distributeVerticallyAction,
                                 &texts.sameWidthAction,
                                 &texts.sameHeightAction};
    for (std::size_t i = 0; i < actions_.size(); ++i) actions_[i]->setText(*captions[i]);
    menu_->setTitle(texts.arrangeMenu);
    Update();
}

void ArrangeMenu::Update() {
    const LanguageTexts& texts = MessageTable();
    for (const arrange::Arrangement arrangement : arrange::kArrangements) {
        QAction* action = Action(arrangement);
        std::optional<arrange::Refusal> refusal = arrange::Refusal::TooFew;
        if (document_.isOpen() && !selection_.empty())
            refusal = arrange::Check(document_.records(), selection_.rows(), arrangement);
        action->setEnabled(!refusal);
        QString why;
        if (refusal == arrange::Refusal::TooFew) {
            why = arrange::LeastRecords(arrangement) > 2 ? texts.distributeTooFew
                                                         : texts.arrangeTooFew;
        } else if (refusal == arrange::Refusal::MixedScreens) {
            why = texts.arrangeMixedScreens;
        } else if (refusal == arrange::Refusal::WindowWithElements) {
            why = texts.arrangeWindowWithElements;
        }
        // An enabled entry needs no tooltip: its caption says it.
        action->setToolTip(why.isEmpty() ? WithoutAccessKey(action->text()) : why);
    }
}

bool ArrangeMenu::Run(arrange::Arrangement arrangement) {
    if (!document_.isOpen() || selection_.empty()) return false;
    const bool done = editing::ArrangeSelected(document_, selection_.state(), arrangement,
                                               WithoutAccessKey(Action(arrangement)->text()));
    if (done) done_();
    return done;
}
