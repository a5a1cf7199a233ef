#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "document/menu_file.h"
#include "document/type_code.h"

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
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A string database holding these (id, text) entries, in the game's layout.
inline QByteArray TextDbBytes(const std::vector<std::pair<int, std::string>>& entries) {
    QByteArray bytes;
    const auto put = [&bytes](std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    put(static_cast<std::uint32_t>(entries.size()));
    put(0);
    std::uint32_t offset = 8 + 8 * static_cast<std::uint32_t>(entries.size());
    for (const auto& [id, text] : entries) {
        put(static_cast<std::uint32_t>(id));
        put(offset);
        offset += static_cast<std::uint32_t>(text.size()) + 1;
    }
    for (const auto& entry : entries) bytes.append(entry.second.c_str(), entry.second.size() + 1);
    return bytes;
}

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// Runs kaveldef in this process; input is what "-" reads.
inline Outcome RunKaveldef(QStringList arguments, const QByteArray& input = {}) {
    arguments.prepend(QStringLiteral("kaveldef"));
    QByteArray inBytes = input;
    QBuffer in(&inBytes);
    QBuffer out;
    QBuffer err;
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Outcome outcome;
    outcome.status = kaveldef::Run(arguments, {in, out, err});
    outcome.out = QString::fromUtf8(out.data());
    outcome.err = QString::fromUtf8(err.data());
    return outcome;
}

// A fresh folder with path helpers.
class Folder {
  public:
    Folder() { EXPECT_TRUE(dir_.isValid()); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes) const {
        WriteBytes(Path(name), bytes);
        return Path(name);
    }
    QString WriteMenu(const QString& name, const std::vector<MenuItemRecord>& records) const {
        return Write(name, EncodeMenuItems(records));
    }

  private:
    QTemporaryDir dir_;
};

inline QString SamplePath(const char* name) {
    return QStringLiteral(KAVEL_SOURCE_DIR "/samples/") + QLatin1String(name);
}

}  // namespace cli_test
