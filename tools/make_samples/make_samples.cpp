// Writes the sample document shipped in samples/: a menu definition file in
// the shape of a game's front end and its English string database.
//
//   kavel-make-samples OUTPUT_FOLDER

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>
#include <string>
#include <vector>

#include "document/menu_file.h"
#include "document/type_code.h"

namespace {

struct SampleText {
    std::int32_t id;
    std::string text;
};

class SampleBuilder {
  public:
    // Adds a record and its text; returns the record for further changes.
    MenuItemRecord& Add(const char* shownType, std::int32_t id, float x, float y, float w, float h,
                        const std::string& text, std::uint32_t font = 0x00000001,
                        std::uint32_t color = 0x00FFFFFF) {
        MenuItemRecord record;
        record.id = id;
        type_code::SetFromShown(record, QByteArray(shownType));
        record.posX = x;
        record.posY = y;
        record.scaleX = w;
        record.scaleY = h;
        record.textId = nextTextId_;
        record.font = font;
        record.color = color;
        texts_.push_back({nextTextId_, text});
        ++nextTextId_;
        items_.push_back(record);
        return items_.back();
    }

    const std::vector<MenuItemRecord>& items() const { return items_; }

    QByteArray EncodeTextDb() const {
        QByteArray bytes;
        auto append32 = [&bytes](std::uint32_t value) {
            for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
        };
        append32(static_cast<std::uint32_t>(texts_.size()));
        append32(0);
        std::uint32_t offset = 8 + 8 * static_cast<std::uint32_t>(texts_.size());
        for (const SampleText& entry : texts_) {
            append32(static_cast<std::uint32_t>(entry.id));
            append32(offset);
            offset += static_cast<std::uint32_t>(entry.text.size()) + 1;
        }
        for (const SampleText& entry : texts_) {
            bytes.append(entry.text.data(), static_cast<qsizetype>(entry.text.size()));
            bytes.append('\0');
        }
        return bytes;
    }

  private:
    std::vector<MenuItemRecord> items_;
    std::vector<SampleText> texts_;
    std::int32_t nextTextId_ = 1000;
};

void BuildMainMenu(SampleBuilder& b) {
    b.Add("wint", 100, 250, 110, 300, 380, "Main Menu", 0x00000002);
    const char* buttons[] = {"New Game", "Load Game", "Multiplayer", "Options", "Credits"};
    float y = 20;
    std::int32_t id = 101;
    for (const char* caption : buttons) {
        b.Add("butt", id++, 30, y, 240, 30, caption, 0x00000002);
        y += 40;
    }
    b.Add("butw", id++, 30, 250, 240, 30, "Exit", 0x00000002, 0x00E0E0FF);
    b.Add("stxt", id++, 10, 300, 120, 16, "Version 1.00");
    b.Add("rtxt", id++, 170, 300, 120, 16, "(c) Brenmoor");
    b.Add("stop", id++, 0, 0, 0, 0, "End of main menu");
}

// Tall elements (lists, pictures, scroll bars) get empty texts: a text is
// drawn at half its element's height, which would fill them with huge letters.
void BuildOptions(SampleBuilder& b) {
    b.Add("wind", 200, 150, 90, 500, 420, "Options");
    std::int32_t id = 201;
    b.Add("ctxt", id++, 20, 10, 460, 24, "Player settings", 0x00000002);
    b.Add("stxt", id++, 20, 50, 100, 20, "Name:");
    b.Add("edit", id++, 130, 50, 220, 22, "Player");
    b.Add("stxt", id++, 20, 80, 100, 20, "Team:");
    b.Add("ednu", id++, 130, 80, 220, 22, "7");
    b.Add("stxt", id++, 20, 110, 100, 20, "Chat:");
    b.Add("edtl", id++, 130, 110, 220, 22, "Hello!");
    b.Add("list", id++, 20, 150, 440, 170, "");
    b.Add("scrl", id++, 462, 150, 18, 170, "");
    b.Add("trib", id++, 462, 150, 18, 18, "Up");
    b.Add("trib", id++, 462, 302, 18, 18, "Down");
    b.Add("stxt", id++, 20, 335, 100, 20, "Resolution:");
    b.Add("comb", id++, 130, 335, 220, 22, "800 x 600");
    b.Add("vidc", id++, 370, 335, 110, 22, "Key: F12");
    b.Add("butl", id++, 20, 375, 140, 30, "Back");
    b.Add("butr", id++, 340, 375, 140, 30, "Apply");
    b.Add("stop", id++, 0, 0, 0, 0, "End of options");
}

void BuildLoadingScreen(SampleBuilder& b) {
    b.Add("winc", 300, 0, 0, 800, 600, "Loading");
    // The pictures cover their records; an empty text keeps a large font
    // from running out beside them.
    b.Add("rcta", 100, 0, 0, 540, 600, "");
    b.Add("rcta", 101, 560, 40, 220, 220, "");
    b.Add("rcta", 102, 560, 290, 220, 55, "");
    b.Add("ctxt", 301, 560, 360, 220, 20, "Loading, please wait...");
    b.Add("pbrt", 300, 100, 560, 600, 12, "Progress");
    b.Add("stop", 302, 0, 0, 0, 0, "End of loading screen");
}

void BuildRaceResults(SampleBuilder& b) {
    b.Add("frac", 400, 100, 80, 600, 440, "Race Results", 0x00000002);
    std::int32_t id = 401;
    b.Add("ntxt", id++, 20, 10, 40, 20, "No.");
    b.Add("mtxt", id++, 70, 10, 300, 20, "Driver");
    b.Add("htxt", id++, 390, 10, 180, 20, "Lap time");
    const char* drivers[][3] = {{"1", "A. Varga", "1:32.410"},
                                {"2", "M. Okafor", "1:32.877"},
                                {"3", "L. Brenner", "1:33.105"},
                                {"4", "S. Ito", "1:34.002"}};
    float y = 40;
    for (const auto& row : drivers) {
        b.Add("ntxt", id++, 20, y, 40, 20, row[0]);
        b.Add("mtxt", id++, 70, y, 300, 20, row[1]);
        b.Add("htxt", id++, 390, y, 180, 20, row[2]);
        y += 26;
    }
    b.Add("line", id++, 20, 150, 550, 1, "Separator");
    b.Add("rctt", id++, 20, 170, 200, 150, "");
    b.Add("rctf", id++, 240, 170, 330, 150, "");
    b.Add("item", id++, 20, 340, 170, 30, "Next Race");
    b.Add("seli", id++, 210, 340, 170, 30, "Replay");
    b.Add("rari", id++, 400, 340, 170, 30, "Championship");
    b.Add("stop", id++, 0, 0, 0, 0, "End of results");
}

void BuildLobby(SampleBuilder& b) {
    b.Add("frmt", 500, 60, 60, 680, 480, "Network Lobby");
    std::int32_t id = 501;
    b.Add("netp", id++, 20, 10, 400, 200, "");
    b.Add("swnd", id++, 440, 10, 200, 200, "");
    b.Add("lstc", id++, 20, 220, 300, 140, "");
    b.Add("memi", id++, 340, 220, 300, 140, "");
    b.Add("iten", id++, 20, 380, 200, 26, "Laps: 5");
    b.Add("pull", id++, 240, 380, 180, 26, "Ready");
    b.Add("rect", id++, 440, 380, 200, 26, "Frame");
    b.Add("gate", id++, 20, 410, 300, 20, "Host options");
    b.Add("view", id++, 340, 410, 300, 20, "Chat view");
    b.Add("orez", id++, 0, 0, 0, 0, "Busy");
    b.Add("stop", id++, 0, 0, 0, 0, "End of lobby");
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kavel-make-samples OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    SampleBuilder builder;
    builder.Add("vers", 1, 0, 0, 0, 0, "Brenmoor front end 1.00");
    BuildMainMenu(builder);
    BuildOptions(builder);
    BuildLoadingScreen(builder);
    BuildRaceResults(builder);
    BuildLobby(builder);

    if (!WriteFile(folder.filePath("kavel.def"), EncodeMenuItems(builder.items())) ||
        !WriteFile(folder.filePath("textdb_en.def"), builder.EncodeTextDb())) {
        std::fprintf(stderr, "kavel-make-samples: cannot write into %s\n", argv[1]);
        return 1;
    }
    std::printf("%zu records written\n", builder.items().size());
    return 0;
}
