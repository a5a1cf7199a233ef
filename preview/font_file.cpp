#include "preview/font_file.h"

#include <fontconfig/fontconfig.h>

#include <QFile>
#include <map>

namespace preview {

namespace {

QByteArray Find(const QString& family) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return {};
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return {};
    QByteArray bytes;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch && index == 0) {
        QFile font(QString::fromUtf8(reinterpret_cast<const char*>(file)));
        if (font.open(QIODevice::ReadOnly)) bytes = font.readAll();
    }
    FcPatternDestroy(match);
    return bytes;
}

}  // namespace

QByteArray RegularFontFile(const QString& family) {
    // The user-interface thread alone draws previews.
    static std::map<QString, QByteArray> found;
    const auto known = found.find(family);
    if (known != found.end()) return known->second;
    return found.emplace(family, Find(family)).first->second;
}

}  // namespace preview
