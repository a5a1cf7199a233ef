// Faults of the outside world met through the real window: files that cannot
// be saved or opened, files that change while they are read, damaged skin
// pictures, and language and skin files of absurd shapes and sizes. Each test
// checks what the user is told and that the user's files are as they were.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDirIterator>
#include <QFileInfo>
#include <QImageWriter>
#include <QMap>
#include <QMenu>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>

#include "app/picture_label.h"
#include "assets/builtin_pictures.h"
#include "base/file_open.h"
#include "window_fixture.h"

namespace {

const QString kUnableToSave = QStringLiteral("Error: unable to save file!");
const QString kUnableToOpen = QStringLiteral("Error: unable to open file!");

// Aborts the whole test program when a step has not finished in time: an open
// that blocks would otherwise hang the suite instead of failing it.
class Watchdog {
  public:
    explicit Watchdog(const char* what, std::chrono::seconds limit = std::chrono::seconds(10))
        : thread_([this, what, limit] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
                  std::fprintf(stderr, "Watchdog: '%s' did not finish in time\n", what);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

// Every file under a folder with its permission bits and its bytes. A file of
// more than 16 MB (the sparse ones) stands by its size, its time of last
// change and its first megabyte: reading gigabytes each time would cost
// minutes, and any write would change the time.
QMap<QString, QByteArray> Snapshot(const QString& folder) {
    constexpr qint64 kWhole = 16 << 20;
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat status {};
        ::stat(QFile::encodeName(path).constData(), &status);
        QByteArray entry = QByteArray::number(status.st_mode & 07777, 8) + ':';
        QFile file(path);
        if (S_ISREG(status.st_mode) && file.open(QIODevice::ReadOnly)) {
            if (status.st_size > kWhole) {
                entry += QByteArray::number(qint64(status.st_size)) + ':' +
                         QByteArray::number(qint64(status.st_mtim.tv_sec)) + '.' +
                         QByteArray::number(qint64(status.st_mtim.tv_nsec)) + ':' +
                         file.read(1 << 20);
            } else {
                entry += file.readAll();
            }
        }
        files.insert(path, entry);
    }
    return files;
}

bool IsRoot() {
    return ::geteuid() == 0;
}

// Truncates a file to `size` bytes without writing any: a sparse file.
void MakeSparse(const QString& path, qint64 size) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(size));
}

// Files read to their end byte by byte: four gigabytes, or one under the
// sanitizers, which slow such reading tenfold and more.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kHugeFileBytes = 1LL << 30;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr qint64 kHugeFileBytes = 1LL << 30;
#else
constexpr qint64 kHugeFileBytes = 4LL << 30;
#endif
#else
constexpr qint64 kHugeFileBytes = 4LL << 30;
#endif

qint64 PeakResidentKilobytes() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// ------------------------------------------------------------------ saving

class SaveFaultTest : public WindowTest {
  protected:
    // Opens the sample and changes it, so that any save would change the file.
    void SetUp() override {
        WindowTest::SetUp();
        OpenSample();
        window->mmMainInsertClick();
        ASSERT_EQ(window->menuItems().size(),
                  DecodeMenuItems(SampleBytes("kavel.def")).items.size() + 1);
        before = Snapshot(Path("."));
    }

    void ExpectRefusedAndUntouched() {
        EXPECT_EQ(window->lbStatus2->text(), kUnableToSave);
        EXPECT_EQ(Snapshot(Path(".")), before);
        EXPECT_EQ(ReadBytes(Path("kavel.def")), SampleBytes("kavel.def"));
    }

    QMap<QString, QByteArray> before;
};

TEST_F(SaveFaultTest, OverAReadOnlyFileEvenForRoot) {
    ASSERT_EQ(::chmod(QFile::encodeName(Path("kavel.def")).constData(), 0444), 0);
    before = Snapshot(Path("."));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    ExpectRefusedAndUntouched();

    // Save as, onto the same file, is refused alike.
    platform.saveAnswers = {Path("kavel.def")};
    window->mmMainSaveAsClick();
    ExpectRefusedAndUntouched();
}

TEST_F(SaveFaultTest, IntoFoldersNoOneMayWriteInto) {
    // Kernel file systems refuse new files to root too.
    for (const char* path : {"/proc/kavel.def", "/sys/kavel.def", "/proc/self/kavel.def"}) {
        if (!QFileInfo(QFileInfo(path).path()).isDir()) continue;
        platform.saveAnswers = {QString::fromLatin1(path)};
        window->mmMainSaveAsClick();
        ExpectRefusedAndUntouched();
        EXPECT_FALSE(QFileInfo::exists(path)) << path;
    }
    if (IsRoot()) return;  // permission bits do not stop root
    ASSERT_TRUE(QDir(Path(".")).mkdir("locked"));
    ASSERT_EQ(::chmod(QFile::encodeName(Path("locked")).constData(), 0555), 0);
    platform.saveAnswers = {Path("locked/kavel.def")};
    window->mmMainSaveAsClick();
    EXPECT_EQ(window->lbStatus2->text(), kUnableToSave);
    EXPECT_TRUE(QDir(Path("locked")).isEmpty());
    ::chmod(QFile::encodeName(Path("locked")).constData(), 0755);
}

TEST_F(SaveFaultTest, ToAFullDeviceAndIntoAFolderRemovedAfterTheDialog) {
    platform.saveAnswers = {QStringLiteral("/dev/full")};
    window->mmMainSaveAsClick();
    ExpectRefusedAndUntouched();
    struct stat status {};
    ASSERT_EQ(::stat("/dev/full", &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));  // still the device, not a file put in its place

    ASSERT_TRUE(QDir(Path(".")).mkdir("gone"));
    WriteBytes(Path("gone/kavel.def"), "old");
    platform.saveAnswers = {Path("gone/kavel.def")};
    ASSERT_TRUE(QDir(Path("gone")).removeRecursively());
    window->mmMainSaveAsClick();
    ExpectRefusedAndUntouched();
    EXPECT_FALSE(QFileInfo::exists(Path("gone")));
}

// ------------------------------------------------------------------ opening

class OpenFaultTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenSample();
        items = window->menuItems().size();
        title = window->windowTitle();
        before = Snapshot(Path("."));
    }

    // Opens the pair in this thread; a blocking open aborts the program.
    void OpenRefused(const QString& menuPath, const QString& textDbPath) {
        window->lbStatus2->setText(QString());
        {
            const Watchdog watchdog("opening a file that is not a regular file");
            OpenFiles(menuPath, textDbPath);
        }
        EXPECT_EQ(window->lbStatus2->text(), kUnableToOpen) << menuPath.toStdString();
        EXPECT_EQ(window->menuItems().size(), items);
        EXPECT_EQ(window->windowTitle(), title);
        EXPECT_EQ(window->savePath(), Path("kavel.def"));
        EXPECT_EQ(Snapshot(Path(".")), before);
    }

    std::size_t items = 0;
    QString title;
    QMap<QString, QByteArray> before;
};

TEST_F(OpenFaultTest, DevicesAndFifosAreRefusedAtOnceForEitherFile) {
    const QString menu = Path("kavel.def");
    const QString db = Path("textdb_en.def");
    QStringList devices = {QStringLiteral("/dev/zero"), QStringLiteral("/dev/null")};
    if (QFileInfo::exists("/dev/tty")) devices.append(QStringLiteral("/dev/tty"));
    for (const QString& device : devices) {
        OpenRefused(device, db);
        OpenRefused(menu, device);
    }
    // A FIFO without a writer would block a plain open for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("strings.fifo")).constData(), 0644), 0);
    before = Snapshot(Path("."));
    OpenRefused(menu, Path("strings.fifo"));
    OpenRefused(Path("strings.fifo"), db);
    OpenRefused(menu, Path("."));
}

TEST_F(OpenFaultTest, AFileRemovedBetweenTheDialogAndTheOpen) {
    WriteBytes(Path("other.def"), SampleBytes("kavel.def"));
    platform.openAnswers = {Path("other.def"), Path("textdb_en.def")};
    ASSERT_TRUE(QFile::remove(Path("other.def")));
    before = Snapshot(Path("."));
    window->lbStatus2->setText(QString());
    window->mmMainOpenClick();
    EXPECT_EQ(window->lbStatus2->text(), kUnableToOpen);
    EXPECT_EQ(window->menuItems().size(), items);
    EXPECT_EQ(Snapshot(Path(".")), before);
}

// A file that another program cuts short while the editor reads it: the
// first read of the file's contents truncates it on disk, so the reader sees
// the size it had at the open and the bytes it has now.
class ShrinkingFile : public QFile {
  public:
    ShrinkingFile(const QString& path, qint64 shrinkTo, int onRead = 1)
        : path_(QFile::encodeName(path)), shrinkTo_(shrinkTo), onRead_(onRead) {}

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (++reads_ == onRead_) {
            EXPECT_EQ(::truncate(path_.constData(), shrinkTo_), 0);
        }
        return QFile::readData(data, maxSize);
    }

  private:
    QByteArray path_;
    qint64 shrinkTo_;
    int onRead_;
    int reads_ = 0;
};

TEST_F(WindowTest, AMenuFileThatShrinksWhileReadLoadsWhatIsLeft) {
    WriteBytes(Path("textdb_en.def"), SampleBytes("textdb_en.def"));
    const QByteArray menu = SampleBytes("kavel.def");
    ASSERT_GT(menu.size(), 10 * kMenuItemRecordSize);
    WriteBytes(Path("kavel.def"), menu);
    const qint64 left = 3 * kMenuItemRecordSize + 7;

    ShrinkingFile menuFile(Path("kavel.def"), left);
    QFile textDbFile;
    ASSERT_TRUE(OpenRegularFileForReading(Path("kavel.def"), menuFile));
    ASSERT_TRUE(OpenRegularFileForReading(Path("textdb_en.def"), textDbFile));
    window->LoadDocuments(menuFile, textDbFile, Path("kavel.def"), Path("textdb_en.def"));

    // Three whole records and a fourth padded with zero bytes.
    ASSERT_EQ(window->menuItems().size(), 4u);
    EXPECT_EQ(EncodeMenuItems(window->menuItems()).left(left), menu.left(left));
    EXPECT_TRUE(window->lbStatus2->text().startsWith("Loaded documents: ["));
    EXPECT_EQ(ReadBytes(Path("kavel.def")), menu.left(left));
    EXPECT_EQ(ReadBytes(Path("textdb_en.def")), SampleBytes("textdb_en.def"));
}

TEST_F(WindowTest, AStringDatabaseThatShrinksWhileReadKeepsItsCountAndNoStrayText) {
    // A database far larger than the reader's buffers: 50,000 entries whose
    // texts name their identifiers.
    constexpr std::uint32_t kEntries = 50'000;
    QByteArray texts;
    QByteArray table;
    auto append32 = [](QByteArray& bytes, std::uint32_t value) {
        for (int b = 0; b < 4; ++b) bytes.append(static_cast<char>((value >> (8 * b)) & 0xFF));
    };
    const std::uint32_t textsStart = 8 + 8 * kEntries;
    for (std::uint32_t i = 0; i < kEntries; ++i) {
        append32(table, i + 1);
        append32(table, textsStart + static_cast<std::uint32_t>(texts.size()));
        texts.append("Text " + QByteArray::number(i + 1)).append('\0');
    }
    QByteArray db;
    append32(db, kEntries);
    append32(db, 0);
    db += table + texts;
    WriteBytes(Path("textdb_en.def"), db);
    WriteBytes(Path("kavel.def"), SampleBytes("kavel.def"));
    const qint64 left = textsStart + texts.size() / 3;

    QFile menuFile;
    ShrinkingFile textDbFile(Path("textdb_en.def"), left, 3);
    ASSERT_TRUE(OpenRegularFileForReading(Path("kavel.def"), menuFile));
    ASSERT_TRUE(OpenRegularFileForReading(Path("textdb_en.def"), textDbFile));
    window->LoadDocuments(menuFile, textDbFile, Path("kavel.def"), Path("textdb_en.def"));

    EXPECT_TRUE(window->lbStatus2->text().startsWith("Loaded documents: ["));
    const TextDb& loaded = window->textDb();
    EXPECT_EQ(loaded.count(), kEntries);
    // Each text is its own or a part of it cut by the shrink, never another's.
    int whole = 0;
    for (std::uint32_t id = 1; id <= kEntries; ++id) {
        const auto found = loaded.FindText(static_cast<std::int32_t>(id));
        ASSERT_TRUE(found.has_value()) << id;
        const std::string own = "Text " + std::to_string(id);
        ASSERT_EQ(own.substr(0, found->size()), std::string(*found)) << id;
        if (found->size() == own.size()) ++whole;
    }
    EXPECT_GT(whole, 0);
    EXPECT_LT(whole, static_cast<int>(kEntries));  // the shrink came while the texts were read
    EXPECT_EQ(ReadBytes(Path("textdb_en.def")), db.left(left));
    EXPECT_EQ(ReadBytes(Path("kavel.def")), SampleBytes("kavel.def"));
}

// ------------------------------------------------------------------ skin pictures

// A window started with skin/skin.txt naming one picture (the background, line
// 3) that cannot be shown.
class SkinPictureTest : public WindowTest {
  protected:
    void PrepareFolder() override {
        QDir().mkpath("skin");
        if (!picture.isEmpty()) WriteBytes("skin/" + pictureName, picture);
        if (pictureIsFolder) QDir().mkpath("skin/" + pictureName);
        if (pictureIsFifo) {
            ASSERT_EQ(::mkfifo(QFile::encodeName("skin/" + pictureName).constData(), 0644), 0);
        }
        WriteBytes("skin/skin.txt", "x\n250\nskin/" + pictureName.toLatin1() + "\n");
        before = Snapshot(".");
        peakBefore = PeakResidentKilobytes();
    }

    // The one error box, and the window as it looks without a skin.
    void ExpectErrorAndBuiltInLook(const QString& message) {
        Settle();
        EXPECT_EQ(platform.errorBoxes, QStringList{"Kavel.def Editor: " + message + "."});
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->useMetro());
        EXPECT_EQ(window->fadeTarget(), 250);
        const preview::PreviewColors builtIn;
        EXPECT_EQ(SkinColors().skinColor1, builtIn.skinColor1);
        EXPECT_EQ(SkinColors().skinColor6, builtIn.skinColor6);
        EXPECT_TRUE(window->imBg2->picture() == BuiltinBackground());
        EXPECT_EQ(Snapshot("."), before);
        // And it still works.
        OpenSample();
        EXPECT_TRUE(window->lbStatus2->text().startsWith("Loaded documents: ["));
    }

    static QByteArray SmallJpeg() {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(QImageWriter(&buffer, "jpg").write(image));
        return bytes;
    }

    QString pictureName;
    QByteArray picture;
    bool pictureIsFolder = false;
    bool pictureIsFifo = false;
    QMap<QString, QByteArray> before;
    qint64 peakBefore = 0;
};

class TruncatedJpegSkin : public SkinPictureTest {
    void SetUp() override {
        pictureName = "cut.jpg";
        picture = SmallJpeg();
        picture.chop(picture.size() / 2);
        SkinPictureTest::SetUp();
    }
};
TEST_F(TruncatedJpegSkin, ShowsTheErrorAndKeepsTheBuiltInLook) {
    ExpectErrorAndBuiltInLook("Damaged JPEG picture: Premature end of JPEG file");
}

class HugeJpegSkin : public SkinPictureTest {
    void SetUp() override {
        pictureName = "huge.JPEG";
        picture = SmallJpeg();
        // The start-of-frame header: marker, length, precision, height, width.
        const qsizetype frame = picture.indexOf("\xFF\xC0");
        EXPECT_GT(frame, 0);
        picture.replace(frame + 5, 4, QByteArray(4, '\xFF'));
        SkinPictureTest::SetUp();
    }
};
TEST_F(HugeJpegSkin, IsRefusedBeforeAnyLargeAllocation) {
    ExpectErrorAndBuiltInLook("JPEG picture too large (65535 x 65535)");
    // 65,535 x 65,535 pixels would take 16 GB; the peak grew by far less.
    EXPECT_LT(PeakResidentKilobytes() - peakBefore, 256 * 1024);
}

class HugeBitmapSkin : public SkinPictureTest {
    void SetUp() override {
        pictureName = "huge.bmp";
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QBuffer buffer(&picture);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(image.save(&buffer, "bmp"));
        // Width and height in the 40-byte header: 1,000,000 x 1,000,000.
        for (int at : {18, 22}) {
            for (int b = 0; b < 4; ++b)
                picture[at + b] = static_cast<char>((1'000'000 >> (8 * b)) & 0xFF);
        }
        SkinPictureTest::SetUp();
    }
};
TEST_F(HugeBitmapSkin, IsRefusedBeforeAnyLargeAllocation) {
    ExpectErrorAndBuiltInLook("Bitmap picture too large (1000000 x 1000000)");
    EXPECT_LT(PeakResidentKilobytes() - peakBefore, 256 * 1024);
}

class LoopingMetafileSkin : public SkinPictureTest {
    void SetUp() override {
        pictureName = "loop.wmf";
        // A header, then a record whose length is 0: a player that trusts it
        // reads the same record for ever.
        auto u16 = [this](int v) {
            picture.append(static_cast<char>(v & 0xFF));
            picture.append(static_cast<char>((v >> 8) & 0xFF));
        };
        for (int w : {1, 9, 0x0300, 15, 0, 1, 3, 0, 0}) u16(w);
        for (int w : {0, 0, 0x041B, 10, 10, 60, 60}) u16(w);
        SkinPictureTest::SetUp();
    }
};
TEST_F(LoopingMetafileSkin, IsRefusedWithoutPlayingIt) {
    const Watchdog watchdog("a metafile whose records loop");
    ExpectErrorAndBuiltInLook("Damaged metafile picture: a record has no length");
}

class FolderPictureSkin : public SkinPictureTest {
    void SetUp() override {
        pictureName = "folder.jpg";
        pictureIsFolder = true;
        SkinPictureTest::SetUp();
    }
};
TEST_F(FolderPictureSkin, IsRefusedAsAFileThatCannotBeOpened) {
    ExpectErrorAndBuiltInLook("Cannot open file skin/folder.jpg");
}

class FifoPictureSkin : public SkinPictureTest {
    void SetUp() override {
        pictureName = "pipe.bmp";
        pictureIsFifo = true;
        // The window starts in SetUp: an open that waited for a writer would
        // never return.
        const Watchdog watchdog("a skin picture that is a FIFO");
        SkinPictureTest::SetUp();
    }
};
TEST_F(FifoPictureSkin, IsRefusedAtOnceWithoutWaitingForAWriter) {
    ExpectErrorAndBuiltInLook("Cannot open file skin/pipe.bmp");
}

// ------------------------------------------------------------------ odd text files

// A window started in a folder with a language list and a good skin picture;
// each test writes the language or skin file it needs.
class OddTextFileTest : public WindowTest {
  protected:
    void PrepareFolder() override {
        QDir().mkpath("lang");
        QDir().mkpath("skin");
        WriteBytes("lang/langList.txt", "lang/Odd.txt\nlang/Other.txt\n");
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        picture.save("skin/pic.bmp");
        if (skin) WriteBytes("skin/skin.txt", *skin);
        if (sparseSkinSize > 0) MakeSparse("skin/skin.txt", sparseSkinSize);
    }

    // Chooses a language file of this content in the language box; the file
    // must not change. The name differs from the one chosen before, so that
    // the box sees a change.
    void ChooseLanguage(const QByteArray& content, qint64 sparseSize = 0) {
        const QString name = window->cbLang->currentText() == "lang/Odd.txt"
                                 ? QStringLiteral("lang/Other.txt")
                                 : QStringLiteral("lang/Odd.txt");
        WriteBytes(name, content);
        if (sparseSize > 0) MakeSparse(name, sparseSize);
        const auto before = Snapshot("lang");
        {
            const Watchdog watchdog("applying a language file", std::chrono::seconds(300));
            window->cbLang->setEditText(name);
        }
        Settle();
        EXPECT_EQ(Snapshot("lang"), before);
    }

    // A complete language file: 44 lines, `rows` type rows, 17 lines.
    static QByteArray Language(const QByteArray& line2, int rows = 2) {
        QByteArray file = "Odd\n" + line2 + "\n";
        for (int line = 3; line <= 44; ++line) file += "Line " + QByteArray::number(line) + "\n";
        file += QByteArray::number(rows) + "\n";
        for (int row = 0; row < rows; ++row) file += "row " + QByteArray::number(row) + "\n";
        for (int line = 1; line <= 16; ++line) file += "After " + QByteArray::number(line) + "\n";
        return file + "help_odd.txt";  // the last line without a line end
    }

    // A complete skin whose colour lines say `color`.
    static QByteArray Skin(const QByteArray& line1, const QByteArray& color) {
        QByteArray file = line1 + "\n$F0\n";
        for (int line = 3; line <= 11; ++line) file += "skin/pic.bmp\n";
        for (int line = 12; line <= 23; ++line) file += color + "\n";
        return file + color;  // line 24 without a line end
    }

    std::optional<QByteArray> skin;
    qint64 sparseSkinSize = 0;
};

TEST_F(OddTextFileTest, LanguageLinesOfMegabytesWithZeroBytesAndNoLastLineEnd) {
    ChooseLanguage(Language(QByteArray(8 << 20, 'M') + "tail"));
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
    EXPECT_EQ(window->mmMainFile->title(), QString(128, u'M'));
    EXPECT_EQ(MessageTable().typeEntries, (std::vector<QString>{"row 0", "row 1"}));
    EXPECT_EQ(MessageTable().helpFileName, "help_odd.txt");
    EXPECT_EQ(ReadBytes("settings.txt"), "lang/Odd.txt");  // applied, so remembered

    // A zero byte ends a line's text.
    ChooseLanguage(Language(QByteArray("&Da\0tei", 7)));
    EXPECT_EQ(window->mmMainFile->title(), "&Da");
    EXPECT_EQ(MessageTable().helpFileName, "help_odd.txt");
}

TEST_F(OddTextFileTest, ALanguageFileOfGigabytesIsReadToItsLastLineOnly) {
    // A complete file followed by 4 GB of hole: nothing after the last line is read.
    ChooseLanguage(Language("&Gross") + "\n", 4LL << 30);
    EXPECT_EQ(window->mmMainFile->title(), "&Gross");
    EXPECT_EQ(MessageTable().helpFileName, "help_odd.txt");
    EXPECT_TRUE(platform.errorBoxes.isEmpty());

    // Gigabytes of zero bytes and no line end: one line, consumed to the end,
    // whose text is empty; every later line keeps its text and the count is 0.
    ChooseLanguage(QByteArray(), kHugeFileBytes);
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
    EXPECT_EQ(MessageTable().languageName, "");
    EXPECT_EQ(window->mmMainFile->title(), "&Gross");
    EXPECT_TRUE(MessageTable().typeEntries.empty());
}

class MegabyteSkinLines : public OddTextFileTest {
    void SetUp() override {
        skin = Skin("UseMetro=1" + QByteArray(4 << 20, 'x'), QByteArray("0x00FF00\0junk", 13));
        OddTextFileTest::SetUp();
    }
};
TEST_F(MegabyteSkinLines, AreCutAt128CharactersAndZeroBytes) {
    Settle();
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
    EXPECT_FALSE(window->useMetro());  // the line is more than "UseMetro=1"
    EXPECT_EQ(window->fadeTarget(), 0xF0);
    EXPECT_EQ(SkinColors().skinColor1, 0x00FF00u);
    EXPECT_EQ(SkinColors().skinColor6, 0x00FF00u);
    EXPECT_EQ(window->imBg2->picture().pixelColor(0, 0), QColor(Qt::darkGreen));
}

class GigabyteSkinAfterItsLines : public OddTextFileTest {
    void SetUp() override {
        skin = Skin("UseMetro=1", "$0000FF") + "\n";
        sparseSkinSize = 4LL << 30;
        OddTextFileTest::SetUp();
    }
};
TEST_F(GigabyteSkinAfterItsLines, IsReadTo24LinesOnly) {
    Settle();
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
    EXPECT_TRUE(window->useMetro());
    EXPECT_EQ(SkinColors().skinColor6, 0x0000FFu);
    EXPECT_EQ(QFileInfo("skin/skin.txt").size(), 4LL << 30);
}

class GigabyteSkinOfZeroBytes : public OddTextFileTest {
    void SetUp() override {
        skin = QByteArray();
        sparseSkinSize = kHugeFileBytes;
        const Watchdog watchdog("a skin of gigabytes without a line end",
                                std::chrono::seconds(300));
        OddTextFileTest::SetUp();
    }
};
TEST_F(GigabyteSkinOfZeroBytes, IsOneEmptyLineAndThenAnError) {
    // Line 1 is gigabytes of zero bytes, read to its end: an empty text. Line 2 is
    // past the end and stands for line 1, which is no number.
    Settle();
    EXPECT_EQ(platform.errorBoxes,
              QStringList{"Kavel.def Editor: '' is not a valid integer value."});
    EXPECT_FALSE(window->useMetro());
    EXPECT_EQ(SkinColors().skinColor1, preview::PreviewColors().skinColor1);
}

// ------------------------------------------------------------------ special text files

// A skin file that is a FIFO, a language list naming a device, and settings
// linked to one: each would block the start or never end.
class SpecialTextFilesTest : public WindowTest {
  protected:
    void SetUp() override {
        const Watchdog watchdog("starting with special text files");
        WindowTest::SetUp();
    }
    void PrepareFolder() override {
        QDir().mkpath("lang");
        QDir().mkpath("skin");
        ASSERT_EQ(::mkfifo("skin/skin.txt", 0644), 0);
        WriteBytes("lang/langList.txt", "/dev/zero\nlang/English.txt\n");
        QFile::copy(QStringLiteral(KAVEL_SOURCE_DIR "/lang/English.txt"), "lang/English.txt");
        ASSERT_EQ(::symlink("/dev/zero", "settings.txt"), 0);
    }
};

TEST_F(SpecialTextFilesTest, AreTakenForMissingFilesWithoutWaiting) {
    EXPECT_EQ(platform.messageBoxes,
              QStringList{"Kavel.def Editor: Please select a language in combo box below."});
    EXPECT_EQ(window->cbLang->count(), 2);
    {
        const Watchdog watchdog("choosing a device as the language file");
        window->cbLang->setCurrentIndex(0);
    }
    EXPECT_EQ(window->cbLang->currentText(), "Default");
    window->cbLang->setCurrentIndex(1);
    EXPECT_EQ(window->cbLang->currentText(), "lang/English.txt");
    // The settings link was not written through to the device.
    EXPECT_TRUE(QFileInfo("settings.txt").isSymLink());
    EXPECT_TRUE(platform.errorBoxes.isEmpty());
}

// ------------------------------------------------------------------ leaks

// One whole session of the user's: open, edit, save, close. CI runs it alone
// under LeakSanitizer (ctest -R LeakCheck), which reports at the end of the
// process whatever the window did not give back.
class LeakCheck : public WindowTest {};

TEST_F(LeakCheck, OpenEditSaveClose) {
    OpenSample();
    ClickRow(2);
    TypeInto(window->edPosX, "12.5");
    QTest::keyClick(window->edPosX, Qt::Key_Tab);
    window->mmMainCopyClick();
    window->mmMainPasteClick();
    window->mmMainInsertClick();
    platform.yesNoAnswers.push_back(true);
    window->mmMainDeleteClick();
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->lbStatus2->text(), "Saved document: [" + Path("kavel.def") + "].");
    const auto saved = DecodeMenuItems(ReadBytes(Path("kavel.def")));
    ASSERT_EQ(saved.items.size(), window->menuItems().size());
    EXPECT_EQ(saved.items[2].posX, 12.5f);
    window->close();
    EXPECT_TRUE(window->menuItems().empty());
    Settle();
}

}  // namespace
