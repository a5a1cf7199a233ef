#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;

// The find bar under the record list: a text field and the count of
// matches. Typing reports the text at once; Enter asks for the next match,
// Shift+Enter for the one before, Escape closes the bar.
class FindBar : public QWidget {
  public:
    explicit FindBar(QWidget* parent = nullptr);

    static constexpr int kHeight = 24;

    QLineEdit* field() const { return field_; }
    QLabel* countLabel() const { return count_; }

    // The count as the bar shows it; `error` draws it in the palette's
    // BrightText colour, which the window sets to its error colour.
    void ShowCount(const QString& text, bool error);

    std::function<void(const QString&)> onTextChanged;
    std::function<void()> onNext;
    std::function<void()> onPrevious;
    std::function<void()> onClose;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* field_ = nullptr;
    QLabel* count_ = nullptr;
};
