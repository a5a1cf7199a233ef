#include "cli/menu_check.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "config/language_texts.h"
#include "document/text_db.h"
#include "document/type_code.h"
#include "dump/dump_fields.h"
#include "preview/preview_mapping.h"

namespace menu_check {

namespace {

// The check speaks English; the window says a short last record in the same
// words, in the user's language.
const LanguageTexts& Words() {
    static const LanguageTexts texts;
    return texts;
}

// The shown type, with its stored bytes when a NUL cuts the shown form short.
QString TypeName(const MenuItemRecord& record) {
    QString name = QLatin1Char('\'') + dump::TypeText(record, true) + QLatin1Char('\'');
    if (type_code::Shown(record).size() < 4) {
        name += QStringLiteral(" (stored bytes %1)")
                    .arg(QString::fromLatin1(QByteArray(record.type, 4).toHex(' ').toUpper()));
    }
    return name;
}

bool InCatalogue(const MenuItemRecord& record) {
    const QByteArray shown = type_code::Shown(record);
    return std::any_of(type_code::kCatalogue.begin(), type_code::kCatalogue.end(),
                       [&shown](const char* row) {
                           return std::string_view(row).size() >= 4 && shown == QByteArray(row, 4);
                       });
}

QString Number(double value) {
    return QString::number(value, 'g', 10);
}

// The record's extent in screen units when it leaves the screen, else nothing.
std::optional<QString> OffScreen(const MenuItemRecord& record, double originX, double originY) {
    const double left = originX + record.posX;
    const double top = originY + record.posY;
    const double right = left + record.scaleX;
    const double bottom = top + record.scaleY;
    if (std::isnan(left) || std::isnan(top) || std::isnan(right) || std::isnan(bottom)) {
        return QStringLiteral("its position or size is not a number");
    }
    const double x1 = std::min(left, right), x2 = std::max(left, right);
    const double y1 = std::min(top, bottom), y2 = std::max(top, bottom);
    if (x1 >= 0 && y1 >= 0 && x2 <= preview::kVirtualWidth && y2 <= preview::kVirtualHeight) {
        return std::nullopt;
    }
    return QStringLiteral("x %1 to %2, y %3 to %4")
        .arg(Number(x1), Number(x2), Number(y1), Number(y2));
}

}  // namespace

QString Finding::Describe() const {
    return Words().RecordFindingText(record, message);
}

std::vector<Finding> CheckMenu(const std::vector<MenuItemRecord>& records, qint64 fileSize,
                               const std::vector<NamedTextDb>& textDbs) {
    std::vector<Finding> findings;
    const MenuItemRecord* window = nullptr;
    std::size_t windowIndex = 0;

    for (std::size_t i = 0; i < records.size(); ++i) {
        const MenuItemRecord& record = records[i];
        const auto add = [&findings, i](const QString& message) {
            findings.push_back({i, message});
        };

        if (i + 1 == records.size() && fileSize % kMenuItemRecordSize != 0) {
            add(Words().ShortLastRecordText(static_cast<int>(fileSize % kMenuItemRecordSize)));
        }
        QStringList lacking;
        for (const NamedTextDb& textDb : textDbs) {
            if (!textDb.textDb->FirstIndexOf(record.textId)) lacking << textDb.name;
        }
        if (!lacking.isEmpty()) {
            add(QStringLiteral("textId %1 is not in %2")
                    .arg(record.textId)
                    .arg(textDbs.size() == 1 ? QStringLiteral("the string database")
                                             : lacking.join(QStringLiteral(", "))));
        }

        const bool isWindow = type_code::IsWindow(record);
        if (isWindow) {
            window = &record;
            windowIndex = i;
            if (i + 1 == records.size() || type_code::IsWindow(records[i + 1])) {
                add(QStringLiteral("window %1 has no elements").arg(TypeName(record)));
            }
        }
        const bool isElement = window && !isWindow;
        const std::optional<QString> extent =
            isElement
                ? OffScreen(record, window->posX,
                            static_cast<double>(window->posY) + preview::CaptionOffset(*window))
                : OffScreen(record, 0.0, 0.0);
        if (extent) {
            QString message =
                QStringLiteral("%1 leaves the 800 x 600 screen: %2").arg(TypeName(record), *extent);
            if (isElement)
                message += QStringLiteral(" (placed in the window of record %1)").arg(windowIndex);
            add(message);
        }

        if (!InCatalogue(record)) {
            add(QStringLiteral("type %1 is not in the type catalogue").arg(TypeName(record)));
        }
        if (type_code::Is(record, type_code::kLoadingPicture) && record.id != 100 &&
            record.id != 101 && record.id != 102) {
            add(QStringLiteral("rcta record with id %1 calls for no picture (100, 101 or 102 do)")
                    .arg(record.id));
        }
        if (type_code::Is(record, type_code::kLoadingProgressBar) && record.id != 300) {
            add(QStringLiteral("pbrt record with id %1 calls for no picture (300 does)")
                    .arg(record.id));
        }
    }
    return findings;
}

std::vector<QString> CompareTextDbs(const std::vector<NamedTextDb>& textDbs) {
    std::vector<std::vector<std::int32_t>> ids;
    for (const NamedTextDb& textDb : textDbs) ids.push_back(textDb.textDb->Ids());
    // Every identifier any database holds, with the databases that hold it.
    std::vector<std::int32_t> all;
    for (const auto& some : ids) all.insert(all.end(), some.begin(), some.end());
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());

    std::vector<QString> lines;
    for (std::size_t d = 0; d < textDbs.size(); ++d) {
        for (const std::int32_t id : all) {
            if (std::binary_search(ids[d].begin(), ids[d].end(), id)) continue;
            QStringList holders;
            for (std::size_t other = 0; other < textDbs.size(); ++other) {
                if (std::binary_search(ids[other].begin(), ids[other].end(), id))
                    holders << textDbs[other].name;
            }
            lines.push_back(QStringLiteral("%1: text id %2 is missing (held by %3)")
                                .arg(textDbs[d].name)
                                .arg(id)
                                .arg(holders.join(QStringLiteral(", "))));
        }
    }
    return lines;
}

}  // namespace menu_check
