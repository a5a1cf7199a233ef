#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QWidget;

// Lets the main menu's shortcuts act wherever the focus is in the window:
// an edit field would otherwise claim keys such as Del for itself. Keys that
// no enabled menu entry uses, plain Ctrl+C and Ctrl+V among them, still reach
// the field, and so does a key that the field is asked to keep.
class ShortcutPriorityFilter : public QObject {
  public:
    ShortcutPriorityFilter(QWidget* window, QList<QAction*> actions);

    // True when the focused widget should keep the key of this action.
    using KeyLeftToField = std::function<bool(const QAction* action, QWidget* focused)>;
    void SetKeyLeftToField(KeyLeftToField keyLeftToField) {
        keyLeftToField_ = std::move(keyLeftToField);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> window_;
    QList<QAction*> actions_;
    KeyLeftToField keyLeftToField_;
};
