// Writes the seed inputs of the fuzz targets: small valid files of every kind
// the program reads, made here from scratch. Run with the repository's fuzz/
// folder as argument; it fills corpus/<target>/.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "assets/metafile_files.h"
#include "document/menu_file.h"
#include "document/recovery_copy.h"
#include "document/type_code.h"
#include "dump/record_transfer.h"

namespace {

QDir root;

void Write(const char* target, const char* name, const QByteArray& bytes) {
    root.mkpath(QStringLiteral("corpus/") + QLatin1StringView(target));
    QFile file(root.filePath(QStringLiteral("corpus/%1/%2").arg(target, name)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s/%s\n", target, name);
        std::exit(1);
    }
}

using test_metafiles::U16;
using test_metafiles::U32;

// ------------------------------------------------------------ documents

MenuItemRecord Record(const char* shown, float x, float y, float sx, float sy, std::int32_t id,
                      std::int32_t textId) {
    MenuItemRecord record;
    type_code::SetFromShown(record, shown);
    record.id = id;
    record.posX = x;
    record.posY = y;
    record.scaleX = sx;
    record.scaleY = sy;
    record.textId = textId;
    record.font = 2;
    record.color = 0x00FFFFFF;
    return record;
}

void MenuSeeds() {
    const std::vector<MenuItemRecord> screen = {
        Record("vers", 0, 0, 0, 0, 1, 0),       Record("wint", 100, 80, 600, 440, 0, 1),
        Record("butt", 20, 20, 120, 24, 0, 2),  Record("stxt", 20, 60, 200, 16, 0, 3),
        Record("scrl", 560, 20, 16, 300, 0, 0), Record("rcta", 0, 0, 512, 512, 100, 0),
        Record("stop", 0, 0, 0, 0, 0, 0),
    };
    Write("menu_file", "screen.def", EncodeMenuItems(screen));
    std::vector<MenuItemRecord> odd = {Record("ab", -0.0f, 1e-45f, 3.4e38f, -1.0f, -1, -7)};
    std::uint32_t nanBits = 0x7FC12345;
    std::memcpy(&odd[0].scaleY, &nanBits, 4);
    Write("menu_file", "odd_values.def", EncodeMenuItems(odd));
    Write("menu_file", "partial.def", EncodeMenuItems(screen).left(36 * 2 + 5));

    // What Copy puts on the clipboard as text, and the JSON lines of a dump.
    Write("clipboard_text", "screen.csv", dump::RecordsText(screen, nullptr));
    Write("clipboard_text", "odd_values.csv", dump::RecordsText(odd, nullptr));
    Write("clipboard_text", "screen.json",
          dump::WriteDump(screen, 36 * static_cast<qint64>(screen.size()), dump::Format::Json,
                          nullptr));
    Write("clipboard_text", "shown_only.csv",
          "id,type,posX,posY,scaleX,scaleY,textId,font,color\n"
          "7,\"bu,t\",1.5,2,30,40,-1,0xFF,$10\n");
}

QByteArray TextDbFile(std::uint32_t count, std::initializer_list<std::pair<int, int>> table,
                      const QByteArray& texts) {
    QByteArray bytes;
    U32(bytes, count);
    U32(bytes, 0);
    for (const auto& [id, offset] : table) {
        U32(bytes, id);
        U32(bytes, offset);
    }
    return bytes + texts;
}

void TextDbSeeds() {
    // Three texts after a table of three slots (8 + 24 = 32).
    Write("text_db", "three.def",
          TextDbFile(3, {{1, 32}, {2, 38}, {7, 44}}, QByteArray("Start\0Quit\0Options\0", 19)));
    // A repeated identifier, texts that overlap and a count past the table.
    Write("text_db", "shared.def",
          TextDbFile(9, {{5, 40}, {5, 42}, {0, 40}, {-3, 1000}}, QByteArray("Load game\0", 10)));
    Write("text_db", "long_text.def", TextDbFile(1, {{9, 16}}, QByteArray(150, 'x')));
}

// Dumps as kaveldef texts dump writes them, with the escapes and the quoting.
void TextDumpSeeds() {
    Write("text_dump", "texts.csv",
          "headerBytes,01EFCDAB\nindex,id,text\n0,1000,Main Menu\n1,-2,\"a\\x09b\\\\c, \"\"q\"\"\"\n"
          "2,7,\" padded \"\n3,9,Stra\xC3\x9F" "e \xE2\x82\xAC\n4,0,\n");
    Write("text_dump", "texts.json",
          "{\n\"format\": \"kaveldef texts\",\n\"version\": 1,\n\"headerBytes\": \"00000000\",\n"
          "\"entries\": [\n{\"index\": 0, \"id\": 1000, \"text\": \"Main Menu\"},\n"
          "{\"index\": 1, \"id\": -2, \"text\": \"a\\\\x0Ab\\\\\\\\c\"}\n]\n}\n");
    // JSON's own escapes, a zero written -0 and a character no code page byte
    // stands for: the line by line reading meets the JSON document's.
    Write("text_dump", "texts_escapes.json",
          "{\n\"format\": \"kaveldef texts\",\n\"version\": 1,\n\"headerBytes\": \"0A0B0C0D\",\n"
          "\"entries\": [\n{\"index\": 0, \"id\": -0, \"text\": \"q\\\"uote \\u00e9 \\/ \xC3\xA9 \\t\"},\n"
          "{\"index\": 1, \"id\": 2147483647, \"text\": \"\"},\n"
          "{\"index\": 2, \"id\": 5, \"text\": \"\\ud83d\\ude00\"}\n]\n}\n");
}

// Recovery files: one with the records alone, one with a changed string
// database beside them.
void RecoverySeeds() {
    RecoveryCopy copy;
    copy.writtenMs = 1'767'225'600'000;
    copy.menuPath = QStringLiteral("/home/modder/brenmoor/kavel.def");
    copy.menuStamp = {true, 36 * 7, 1'767'225'000'000'000'000};
    copy.textDbPath = QStringLiteral("/home/modder/brenmoor/textdb_en.def");
    copy.records = {Record("wint", 100, 80, 600, 440, 0, 1), Record("butt", 20, 20, 120, 24, 0, 2)};
    Write("recovery_copy", "records.kavelrecovery", EncodeRecoveryCopy(copy));
    copy.textDbBytes = TextDbFile(1, {{1, 16}}, QByteArray("Start\0", 6));
    Write("recovery_copy", "texts.kavelrecovery", EncodeRecoveryCopy(copy));
}

// ------------------------------------------------------------ shell texts

void TextSeeds() {
    Write("line_reader", "lines.txt", QByteArray("\0first\r\n\nthird\0hidden\nlast", 26));
    Write("line_reader", "list.txt", "\1lang/English.txt\r\n\nlang/German.txt\nlang/Unfinished");
    Write("line_reader", "long.txt",
          QByteArray(1, '\0') + QByteArray(300, 'w') +
              "\nafter\x1A"
              "gone\n");

    QByteArray language;
    for (int line = 1; line <= 44; ++line) language += "Text " + QByteArray::number(line) + "\r\n";
    language += "3\r\nwint - Window\r\n\r\nbutt - Button\r\n";
    for (int line = 1; line <= 17; ++line) language += "After " + QByteArray::number(line) + "\r\n";
    Write("language_file", "complete.txt", language);
    Write("language_file", "bad_count.txt", QByteArray(44, '\n') + "many\n");
    Write("language_file", "huge_count.txt", QByteArray(44, '\n') + "2147483647\nrow\n");

    Write("skin_file", "complete.txt",
          "UseMetro=1\n$F0\nskin/bg.jpg\nskin/a.jpg\nskin/b.jpg\nskin/c.jpg\nskin/d.jpg\n"
          "skin/copy.bmp\nskin/paste.bmp\nskin/strip.bmp\nskin/sep.bmp\n0x202020\n0x303030\n"
          "0xE0E0E0\n\n\n\n0x101010\n$FF\n$808080\nx00FFFFFF\n0\n12632256\n0x2C00BE\n");
    Write("skin_file", "remembered.txt", "x\n255\nskin/pic.bmp\n\n\n\n\n\n\n\n\n-1\n0X00FF00\n");
    Write("skin_file", "bad_picture.txt", "UseMetro=0\n7\nskin/!broken.wmf\n");

    Write("number_text", "float.txt", QByteArray("\0 -1.25E-3 ", 11));
    Write("number_text", "float_comma.txt",
          "\2"
          "3,40282346638529E38");
    Write("number_text", "hex.txt",
          QByteArray("\0"
                     "0x7FFFFFFF",
                     11));
    Write("number_text", "integer.txt",
          QByteArray("\0"
                     "  -2147483648",
                     14));
    const QString utf16 = QStringLiteral("  $ffe0");
    Write("number_text", "utf16.txt",
          "\1" + QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2));
}

// ------------------------------------------------------------ pictures

QImage Drawing(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    painter.fillRect(1, 1, width / 2, height / 2, Qt::darkBlue);
    painter.setPen(Qt::yellow);
    painter.drawLine(0, height - 1, width - 1, 0);
    return image;
}

QByteArray Encoded(const QImage& image, const char* format, int quality = -1,
                   bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot encode %s: %s\n", format, qPrintable(writer.errorString()));
        std::exit(1);
    }
    return bytes;
}

// A bitmap with a 40-byte header and raw `pixels`.
QByteArray Bitmap(int width, int height, int bits, int compression, const QByteArray& palette,
                  const QByteArray& pixels) {
    QByteArray info;
    U32(info, 40);
    U32(info, width);
    U32(info, height);
    U16(info, 1);
    U16(info, bits);
    U32(info, compression);
    U32(info, pixels.size());
    for (int i = 0; i < 4; ++i) U32(info, 0);
    QByteArray file("BM");
    U32(file, 14 + info.size() + palette.size() + pixels.size());
    U32(file, 0);
    U32(file, 14 + info.size() + palette.size());
    return file + info + palette + pixels;
}

void BitmapSeeds() {
    const QImage drawing = Drawing(21, 21);
    Write("picture_bmp", "rgb24.bmp", Encoded(drawing, "bmp"));
    Write("picture_bmp", "indexed8.bmp",
          Encoded(drawing.convertToFormat(QImage::Format_Indexed8), "bmp"));
    Write("picture_bmp", "mono.bmp", Encoded(drawing.convertToFormat(QImage::Format_Mono), "bmp"));
    QByteArray grey;
    for (int i = 0; i < 4; ++i) U32(grey, i * 0x555555);
    // 4 x 2 run-length coded: a run of 4, end of line, a literal run, end of picture.
    Write("picture_bmp", "rle8.bmp",
          Bitmap(4, 2, 8, 1, grey,
                 QByteArray("\x04\x01\x00\x00\x00\x04\x00\x01\x02\x03\x00\x01", 12)));
    QByteArray bitfields;
    U32(bitfields, 0xF800);
    U32(bitfields, 0x07E0);
    U32(bitfields, 0x001F);
    Write("picture_bmp", "rgb565.bmp",
          Bitmap(2, 2, 16, 3, bitfields, QByteArray("\x00\xF8\xE0\x07\x1F\x00\xFF\xFF", 8)));
    // OS/2 core header, 2 x 1, 24 bits.
    QByteArray core("BM");
    U32(core, 14 + 12 + 8);
    U32(core, 0);
    U32(core, 26);
    for (int v : {12, 2, 1, 1, 24}) (v == 12 ? U32(core, v) : U16(core, v));
    core += QByteArray("\x00\x00\xFF\xFF\x00\x00\x00\x00", 8);
    Write("picture_bmp", "core.bmp", core);

    Write("picture_ico", "rgb32.ico", Encoded(Drawing(16, 16), "ico"));
    QImage alpha = Drawing(32, 32).convertToFormat(QImage::Format_ARGB32);
    alpha.setPixelColor(0, 0, Qt::transparent);
    Write("picture_ico", "alpha.ico", Encoded(alpha, "ico"));

    const QImage photo = Drawing(24, 16);
    Write("picture_jpeg", "baseline.jpg", Encoded(photo, "jpg", 75));
    Write("picture_jpeg", "progressive.jpg", Encoded(photo, "jpg", 90, true));
    Write("picture_jpeg", "grey.jpg",
          Encoded(photo.convertToFormat(QImage::Format_Grayscale8), "jpg", 50));
}

// ------------------------------------------------------------ metafiles

// A 4 x 4 picture of 24 bits with its 40-byte header.
QByteArray SmallDib() {
    QByteArray dib;
    U32(dib, 40);
    U32(dib, 4);
    U32(dib, 4);
    U16(dib, 1);
    U16(dib, 24);
    for (int i = 0; i < 6; ++i) U32(dib, 0);
    for (int i = 0; i < 48; ++i) dib.append(static_cast<char>(i * 5));
    return dib;
}

void MetafileSeeds() {
    using namespace test_metafiles;
    const QByteArray shapes = WmfRecord(0x020B, {0, 0}) + WmfRecord(0x020C, {100, 100}) +
                              WmfRecord(0x02FC, {0, 0x00FF, 0x0000, 0}) +  // solid red brush
                              WmfRecord(0x012D, {0}) +
                              WmfRecord(0x02FA, {0, 2, 0, 0x0000, 0x00FF}) +  // pen
                              WmfRecord(0x012D, {1}) + WmfRecord(0x041B, {60, 60, 10, 10}) +
                              WmfRecord(0x0418, {90, 90, 40, 40}) +          // ellipse
                              WmfRecord(0x0324, {3, 5, 5, 95, 5, 50, 95}) +  // polygon
                              WmfRecord(0x0213, {20, 80}) + WmfRecord(0x0214, {80, 20});
    const QByteArray placeable = Wmf(shapes + kWmfEof);
    Write("picture_wmf", "placeable.wmf", placeable);
    // The same without its 22-byte placeable header.
    Write("picture_wmf", "plain.wmf", placeable.mid(22));
    QByteArray stretch;
    U32(stretch, 0);
    U16(stretch, 0x0F43);
    U32(stretch, 0x00CC0020);
    for (int w : {0, 4, 4, 0, 0, 40, 40, 10, 10}) U16(stretch, w);
    stretch += SmallDib();
    QByteArray size;
    U32(size, stretch.size() / 2);
    stretch.replace(0, 4, size);
    Write("picture_wmf", "bitmap.wmf", Wmf(stretch + kWmfEof));

    const QByteArray curves = EmfRecord(38, {2, 0, 3, 0, 0x0000FF00}) + EmfRecord(37, {2}) +
                              EmfRecord(42, {20, 20, 90, 70}) +  // ellipse
                              EmfRecord(87, {0, 0, 99, 99, 3, 0 | (0 << 16), 99 | (50 << 16),
                                             0 | (99 << 16)});  // polyline16
    Write("picture_emf", "square.emf", Emf(EmfBlueSquare()));
    Write("picture_emf", "curves.emf", Emf(EmfBlueSquare() + curves));
    QByteArray dib =
        EmfRecord(81, {0, 0, 10, 10, 0, 0, 0, 0, 4, 4, 80, 40, 120, 48, 0, 0xCC0020, 40, 40});
    dib += SmallDib();
    QByteArray dibSize;
    U32(dibSize, dib.size());
    dib.replace(4, 4, dibSize);
    Write("picture_emf", "bitmap.emf", Emf(dib));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FUZZ_FOLDER\n", argv[0]);
        return 2;
    }
    root = QDir(QString::fromLocal8Bit(argv[1]));
    MenuSeeds();
    TextDbSeeds();
    TextDumpSeeds();
    RecoverySeeds();
    TextSeeds();
    BitmapSeeds();
    MetafileSeeds();
    return 0;
}
