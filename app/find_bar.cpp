#include "app/find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
    field_ = new QLineEdit(this);
    count_ = new QLabel(this);
    count_->setTextFormat(Qt::PlainText);
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for "1000000 of 1000000" in the window's font.
    count_->setMinimumWidth(
        count_->fontMetrics().horizontalAdvance(QStringLiteral("0000000 of 0000000")));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    layout->addWidget(field_, 1);
    layout->addWidget(count_);

    field_->installEventFilter(this);
    connect(field_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (onTextChanged) onTextChanged(text);
    });
}

void FindBar::ShowCount(const QString& text, bool error) {
    count_->setText(text);
    count_->setForegroundRole(error ? QPalette::BrightText : QPalette::WindowText);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const bool back = key->modifiers().testFlag(Qt::ShiftModifier);
            if (back && onPrevious) onPrevious();
            if (!back && onNext) onNext();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            if (onClose) onClose();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
