#include "app/view_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSettings>
#include <algorithm>

#include "app/message_table.h"
#include "app/platform.h"
#include "app/preview_panel.h"
#include "config/language_texts.h"
#include "preview/view_geometry.h"
#include "preview/view_grid.h"

namespace {

const QString kResolutionKey = QStringLiteral("preview/resolution");
const QString kShowGridKey = QStringLiteral("preview/showGrid");
const QString kGridSizeKey = QStringLiteral("preview/gridSize");

// "1920x1080", as kept in the settings; nothing for the window's own size
// and for anything that is no resolution allowed.
std::optional<QSize> ResolutionOf(const QString& text) {
    const QStringList sides = text.split(u'x');
    bool wide = false;
    bool high = false;
    const QSize size =
        sides.size() == 2 ? QSize(sides[0].toInt(&wide), sides[1].toInt(&high)) : QSize();
    if (!wide || !high || !preview::IsAllowedResolution(size)) return std::nullopt;
    return size;
}

QString SizeText(QSize size) {
    return QStringLiteral("%1 \u00D7 %2").arg(size.width()).arg(size.height());
}

}  // namespace

ViewMenu::ViewMenu(QMenu* menu, PreviewPanel& panel, Platform& platform, QWidget* window)
    : QObject(menu), panel_(panel), platform_(platform), window_(window) {
    zoomIn_ = menu->addAction(QString());
    // Ctrl++ is Ctrl+Shift+= on many keyboards; Ctrl+= works unshifted.
    zoomIn_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    zoomOut_ = menu->addAction(QString());
    zoomOut_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    fit_ = menu->addAction(QString());
    fit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    actualSize_ = menu->addAction(QString());
    actualSize_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    connect(zoomIn_, &QAction::triggered, this, [this] { panel_.ZoomStep(1); });
    connect(zoomOut_, &QAction::triggered, this, [this] { panel_.ZoomStep(-1); });
    connect(fit_, &QAction::triggered, this,
            [this] { panel_.SetChoice({panel_.view().choice().resolution, std::nullopt}); });
    connect(actualSize_, &QAction::triggered, this,
            [this] { panel_.SetChoice({panel_.view().choice().resolution, 100}); });

    resolutionMenu_ = menu->addMenu(QString());
    auto* resolutionGroup = new QActionGroup(this);
    const auto addResolution = [&](std::optional<QSize> resolution) {
        QAction* action = resolutionMenu_->addAction(QString());
        action->setCheckable(true);
        resolutionGroup->addAction(action);
        resolutions_.push_back(action);
        connect(action, &QAction::triggered, this, [this, resolution] { Choose(resolution); });
    };
    addResolution(std::nullopt);
    for (const QSize resolution : preview::kGameResolutions) addResolution(resolution);
    resolutionMenu_->addSeparator();
    QAction* custom = resolutionMenu_->addAction(QString());
    custom->setCheckable(true);
    resolutionGroup->addAction(custom);
    resolutions_.push_back(custom);
    connect(custom, &QAction::triggered, this, [this] { AskCustom(); });

    menu->addSeparator();
    showGrid_ = menu->addAction(QString());
    showGrid_->setCheckable(true);
    showGrid_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Apostrophe));
    gridSizeMenu_ = menu->addMenu(QString());
    auto* gridGroup = new QActionGroup(this);
    for (const int step : preview::kGridSteps) {
        QAction* action = gridSizeMenu_->addAction(QString());
        action->setCheckable(true);
        gridGroup->addAction(action);
        gridSizes_.push_back(action);
        connect(action, &QAction::triggered, this, [this, step] {
            gridStep_ = step;
            QSettings().setValue(kGridSizeKey, step);
            ApplyGrid();
        });
    }
    connect(showGrid_, &QAction::toggled, this, [this](bool on) {
        QSettings().setValue(kShowGridKey, on);
        ApplyGrid();
    });

    // What the last run chose; anything else there is no choice.
    const QSettings settings;
    const int kept = settings.value(kGridSizeKey, preview::kDefaultGridStep).toInt();
    const bool known = std::find(preview::kGridSteps.begin(), preview::kGridSteps.end(), kept) !=
                       preview::kGridSteps.end();
    gridStep_ = known ? kept : preview::kDefaultGridStep;
    showGrid_->setChecked(settings.value(kShowGridKey, false).toBool());
    ApplyGrid();
    panel_.SetChoice({ResolutionOf(settings.value(kResolutionKey).toString()), std::nullopt});
    CheckChosen();
}

void ViewMenu::ApplyTexts(const LanguageTexts& texts) {
    zoomIn_->setText(texts.zoomInAction);
    zoomOut_->setText(texts.zoomOutAction);
    fit_->setText(texts.fitToWindowAction);
    actualSize_->setText(texts.actualSizeAction);
    resolutionMenu_->setTitle(texts.resolutionMenu);
    // The entries carry their numbers as access keys, in order.
    const auto numbered = [](std::size_t at, const QString& text) {
        return QStringLiteral("&%1 %2").arg(at + 1).arg(text);
    };
    resolutions_.front()->setText(numbered(0, texts.fitResolution));
    for (std::size_t i = 0; i < preview::kGameResolutions.size(); ++i)
        resolutions_[i + 1]->setText(numbered(i + 1, SizeText(preview::kGameResolutions[i])));
    resolutions_.back()->setText(numbered(resolutions_.size() - 1, texts.customResolution));
    showGrid_->setText(texts.showGridAction);
    gridSizeMenu_->setTitle(texts.gridSizeMenu);
    for (std::size_t i = 0; i < gridSizes_.size(); ++i)
        gridSizes_[i]->setText(numbered(i, texts.gridUnits.arg(preview::kGridSteps[i])));
}

void ViewMenu::Choose(std::optional<QSize> resolution) {
    QSettings().setValue(kResolutionKey,
                         resolution ? QStringLiteral("%1x%2").arg(resolution->width()).arg(
                                          resolution->height())
                                    : QString());
    panel_.SetChoice({resolution, std::nullopt});
    CheckChosen();
}

void ViewMenu::AskCustom() {
    const LanguageTexts& texts = MessageTable();
    const std::optional<QSize> shown = panel_.view().choice().resolution;
    const std::optional<QSize> asked =
        platform_.AskSize(window_, QString(texts.resolutionMenu).remove(u'&'),
                          texts.resolutionWidth, texts.resolutionHeight,
                          shown.value_or(panel_.view().resolution()));
    if (asked && !preview::IsAllowedResolution(*asked)) {
        platform_.ShowErrorBox(window_, fixed_text::kAppTitle,
                               texts.resolutionRange + QLatin1Char('.'));
    } else if (asked) {
        Choose(*asked);
        return;
    }
    // Nothing chosen: the entry of the resolution shown stays checked.
    CheckChosen();
}

void ViewMenu::CheckChosen() {
    const std::optional<QSize> chosen = panel_.view().choice().resolution;
    QAction* entry = resolutions_.back();
    if (!chosen) entry = resolutions_.front();
    for (std::size_t i = 0; chosen && i < preview::kGameResolutions.size(); ++i) {
        if (preview::kGameResolutions[i] == *chosen) entry = resolutions_[i + 1];
    }
    entry->setChecked(true);
}

void ViewMenu::ApplyGrid() {
    for (std::size_t i = 0; i < gridSizes_.size(); ++i)
        gridSizes_[i]->setChecked(preview::kGridSteps[i] == gridStep_);
    panel_.SetGrid(showGrid_->isChecked() ? gridStep_ : 0);
}
