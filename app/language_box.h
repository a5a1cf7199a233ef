#pragma once

#include <QComboBox>
#include <functional>

// The status bar's language box `cbLang`; it can say when its list has
// closed, picked from or not.
class LanguageBox : public QComboBox {
  public:
    using QComboBox::QComboBox;

    void SetOnPopupHidden(std::function<void()> onPopupHidden) {
        onPopupHidden_ = std::move(onPopupHidden);
    }

    void hidePopup() override {
        QComboBox::hidePopup();
        if (onPopupHidden_) onPopupHidden_();
    }

  private:
    std::function<void()> onPopupHidden_;
};
