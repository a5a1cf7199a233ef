#include "app/picture_label.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>

PictureLabel::PictureLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureLabel::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureLabel::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture_);
}

void PictureLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (onClick_ && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        onClick_();
    QWidget::mouseReleaseEvent(event);
}

void SetGlyph(QAbstractButton* button, const QImage& glyph) {
    if (glyph.isNull()) {
        button->setIcon(QIcon());
        return;
    }
    QImage keyed = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, keyed.height() - 1);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if (line[x] == key) line[x] = 0;
        }
    }
    button->setIcon(QIcon(QPixmap::fromImage(keyed)));
    button->setIconSize(keyed.size());
}
