#include "cli/menu_check.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "dump/dump_fields.h"
#include "document/text_db.h"
#include "document/type_code.h"
#include "preview/preview_mapping.h"

namespace menu_check {

namespace {

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
    return QStringLiteral("record %1: %2").arg(record).arg(message);
}

std::vector<Finding> CheckMenu(const std::vector<MenuItemRecord>& records, qint64 fileSize,
                               const TextDb* textDb) {
    std::vector<Finding> findings;
    const MenuItemRecord* window = nullptr;
    std::size_t windowIndex = 0;

    for (std::size_t i = 0; i < records.size(); ++i) {
        const MenuItemRecord& record = records[i];
        const auto add = [&findings, i](const QString& message) {
            findings.push_back({i, message});
        };

        if (i + 1 == records.size() && fileSize % kMenuItemRecordSize != 0) {
            add(QStringLiteral("the last record is short: the file holds %1 of its %2 bytes, "
                               "the rest reads as 0")
                    .arg(fileSize % kMenuItemRecordSize)
                    .arg(kMenuItemRecordSize));
        }
        if (textDb && !textDb->FindText(record.textId)) {
            add(QStringLiteral("textId %1 is not in the string database").arg(record.textId));
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

}  // namespace menu_check
