#pragma once

#include <QIcon>
#include <QImage>
#include <QWidget>
#include <functional>

// A picture control that stretches its picture over its whole area (aspect
// not kept) and can report clicks.
class PictureLabel : public QWidget {
  public:
    explicit PictureLabel(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void SetOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
    std::function<void()> onClick_;
};

class QAbstractButton;

// Gives a button its glyph, drawn at the glyph's own size (a 21 x 21 glyph
// stays 21 x 21, never shrunk to the style's icon size); the colour of its
// bottom-left pixel is its background and shows as transparent.
void SetGlyph(QAbstractButton* button, const QImage& glyph);
