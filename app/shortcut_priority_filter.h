#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

// Lets the main menu's shortcuts act wherever the focus is in the window:
// an edit field would otherwise claim keys such as Del for itself. Keys that
// no enabled menu entry uses, plain Ctrl+C and Ctrl+V among them, still reach
// the field.
class ShortcutPriorityFilter : public QObject {
  public:
    ShortcutPriorityFilter(QWidget* window, QList<QAction*> actions);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> window_;
    QList<QAction*> actions_;
};
