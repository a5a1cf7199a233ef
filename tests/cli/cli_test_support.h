#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "document/menu_file.h"
#include "document/text_db.h"
#include "document/type_code.h"
#include "support/bytes.h"

// Files and command runs shared by the kaveldef tests.
namespace cli_test {

inline MenuItemRecord Rec(const char* shownType, float x, float y, float w, float h, int id = 0,
                          int textId = 0) {
    MenuItemRecord record{id, {}, x, y, w, h, textId, 1, 0xFFFFFF};
    type_code::SetFromShown(record, shownType);
    return record;
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A string database holding these (id, text) entries, read from the game's
// layout.
inline TextDb TextDbOf(const std::vector<std::pair<int, std::string>>& entries) {
    QByteArray bytes, texts;
    AppendU32(bytes, static_cast<std::uint32_t>(entries.size()));
    AppendU32(bytes, 0);
    const auto textsStart = 8 + 8 * static_cast<std::uint32_t>(entries.size());
    for (const auto& [id, text] : entries) {
        AppendU32(bytes, static_cast<std::uint32_t>(id));
        AppendU32(bytes, textsStart + static_cast<std::uint32_t>(texts.size()));
        texts.append(text.c_str(), static_cast<qsizetype>(text.size() + 1));
    }
    bytes += texts;
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    TextDb textDb;
    EXPECT_EQ(textDb.Read(file), TextDb::ReadError::None);
    return textDb;
}

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// Runs kaveldef in this process; input is what "-" reads.
inline Outcome RunKaveldef(QStringList arguments, QByteArray input = {}) {
    arguments.prepend(QStringLiteral("kaveldef"));
    QBuffer in(&input), out, err;
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = kaveldef::Run(arguments, {in, out, err});
    return {status, QString::fromUtf8(out.data()), QString::fromUtf8(err.data())};
}

// A fresh folder with path helpers.
class Folder {
  public:
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            << name.toStdString();
        return Path(name);
    }

  private:
    QTemporaryDir dir_;
};

inline QString SamplePath(const char* name) {
    return QStringLiteral(KAVEL_SOURCE_DIR "/samples/") + QLatin1String(name);
}

}  // namespace cli_test
