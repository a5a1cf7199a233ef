#include "app/view_status.h"

#include <QLabel>

#include "app/message_table.h"
#include "app/preview_panel.h"
#include "base/number_text.h"
#include "config/language_texts.h"

namespace {

constexpr int kGap = 12;

}  // namespace

ViewStatus::ViewStatus(QWidget* statusBar, int left, int top, PreviewPanel& panel)
    : QObject(statusBar),
      panel_(panel),
      zoom_(new QLabel(statusBar)),
      place_(new QLabel(statusBar)),
      left_(left),
      top_(top) {
    for (QLabel* label : {zoom_, place_}) {
        label->setTextFormat(Qt::PlainText);
        // Under the credits, which cover a text that runs that far.
        label->lower();
    }
    connect(&panel_, &PreviewPanel::viewChanged, this, [this] { ShowZoom(); });
}

void ViewStatus::ApplyTexts(const LanguageTexts&) {
    if (!zoom_->text().isEmpty()) ShowZoom();
    ShowPointer(shownPlace_);
}

void ViewStatus::ShowZoom() {
    zoom_->setText(MessageTable().zoomStatus.arg(panel_.view().zoom().percent()));
    LayOut();
}

void ViewStatus::ShowPointer(const std::optional<preview::PointerPlace>& place) {
    shownPlace_ = place;
    const LanguageTexts& texts = MessageTable();
    QString text;
    if (place) {
        text = texts.pointerPlace.arg(place->x).arg(place->y);
        if (place->windowX && place->windowY) {
            text += QStringLiteral(" \u00B7 ") +
                    texts.pointerInWindow.arg(*place->windowX).arg(*place->windowY);
        }
    }
    place_->setText(text);
    LayOut();
}

void ViewStatus::ShowDraft(const RecordGeometry& geometry, bool resizing, QChar decimalSeparator) {
    shownPlace_.reset();
    const auto number = [decimalSeparator](float value) {
        return FloatDisplayText(value, decimalSeparator);
    };
    const LanguageTexts& texts = MessageTable();
    place_->setText(resizing ? texts.draftSize.arg(number(geometry.scaleX), number(geometry.scaleY))
                             : texts.pointerPlace.arg(number(geometry.posX), number(geometry.posY)));
    LayOut();
}

void ViewStatus::LayOut() {
    zoom_->adjustSize();
    zoom_->move(left_, top_);
    place_->adjustSize();
    place_->move(left_ + (zoom_->text().isEmpty() ? 0 : zoom_->width() + kGap), top_);
}
