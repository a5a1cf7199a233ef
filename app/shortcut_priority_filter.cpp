#include "app/shortcut_priority_filter.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

ShortcutPriorityFilter::ShortcutPriorityFilter(QWidget* window, QList<QAction*> actions)
    : window_(window), actions_(std::move(actions)) {}

bool ShortcutPriorityFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || window_ == nullptr) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != window_) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(
        QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    for (const QAction* action : actions_) {
        if (!action->isEnabled()) continue;
        const QList<QKeySequence> shortcuts = action->shortcuts();
        const bool matches =
            std::any_of(shortcuts.cbegin(), shortcuts.cend(), [&pressed](const QKeySequence& own) {
                return own.matches(pressed) == QKeySequence::ExactMatch;
            });
        if (matches) {
            if (keyLeftToField_ && keyLeftToField_(action, widget)) return false;
            // Swallowing the override keeps the widget from claiming the key,
            // so the shortcut map delivers it to the menu entry.
            return true;
        }
    }
    return false;
}
