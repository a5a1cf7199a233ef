#include "app/view_options.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

#include "config/language_texts.h"

namespace {

const QString kElementsAloneKey = QStringLiteral("preview/showElementsByThemselves");

}  // namespace

ViewOptions::ViewOptions(QMenu* viewMenu, std::function<void()> changed)
    : QObject(viewMenu), elementsAlone_(viewMenu->addAction(QString())) {
    elementsAlone_->setCheckable(true);
    elementsAlone_->setChecked(QSettings().value(kElementsAloneKey, false).toBool());
    connect(elementsAlone_, &QAction::toggled, this, [changed = std::move(changed)](bool on) {
        QSettings().setValue(kElementsAloneKey, on);
        changed();
    });
}

bool ViewOptions::elementsAlone() const {
    return elementsAlone_->isChecked();
}

void ViewOptions::ApplyTexts(const LanguageTexts& texts) {
    elementsAlone_->setText(texts.elementsAloneAction);
}
