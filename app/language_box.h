#pragma once

#include <QComboBox>
#include <functional>
#include <utility>

// The status bar's language box `cbLang`; it can say when its list next
// closes, picked from or not.
class LanguageBox : public QComboBox {
  public:
    using QComboBox::QComboBox;

    // Called once, the next time the list closes.
    void CallWhenPopupHides(std::function<void()> callback) {
        onPopupHidden_ = std::move(callback);
    }

    void hidePopup() override {
        QComboBox::hidePopup();
        if (const auto callback = std::exchange(onPopupHidden_, nullptr)) callback();
    }

  private:
    std::function<void()> onPopupHidden_;
};
