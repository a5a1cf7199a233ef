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

// A button glyph as an icon: the colour of its bottom-left pixel is its
// background and shows as transparent.
QIcon GlyphIcon(const QImage& glyph);
