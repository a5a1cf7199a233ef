#include "cli/commands.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <exception>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "assets/picture_loader.h"
#include "base/file_open.h"
#include "base/file_save.h"
#include "base/line_reader.h"
#include "dump/dump_text.h"
#include "cli/menu_check.h"
#include "cli/text_dump.h"
#include "config/skin_file.h"
#include "document/menu_file.h"
#include "document/text_db.h"
#include "preview/hit_test.h"
#include "preview/preview_image.h"

namespace kaveldef {

namespace {

constexpr int kMaxProblemsShown = 20;
constexpr int kMaxRenderSide = 8192;

const char* const kExitStatusText =
    "Exit status:\n"
    "  0  done; check found nothing\n"
    "  1  check found something; build or texts build refused the dump and wrote\n"
    "     nothing\n"
    "  2  bad command line, or a file that cannot be read or written\n";

// A command failed in a way that ends it with kExitFailed; the message is
// printed after the program's name.
struct Failure {
    QString message;
};

class Output {
  public:
    explicit Output(Streams streams) : streams_(streams) {}

    void Out(const QString& text) { streams_.out.write(text.toUtf8()); }
    void OutBytes(const QByteArray& bytes) { streams_.out.write(bytes); }
    void Err(const QString& line) {
        streams_.err.write((QStringLiteral("kaveldef: ") + line + QLatin1Char('\n')).toUtf8());
    }
    QIODevice& in() { return streams_.in; }

  private:
    Streams streams_;
};

QString Quoted(const QString& path) {
    return QLatin1Char('\'') + path + QLatin1Char('\'');
}

// Why a file cannot be opened for reading, as the user can act on it.
QString WhyUnreadable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("cannot read %1: there is no such file").arg(Quoted(path));
    if (info.isDir()) return QStringLiteral("cannot read %1: it is a folder").arg(Quoted(path));
    if (!info.isFile()) {
        return QStringLiteral("cannot read %1: it is not a regular file").arg(Quoted(path));
    }
    return QStringLiteral("cannot read %1: permission denied").arg(Quoted(path));
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file;
    if (!OpenRegularFileForReading(path, file)) throw Failure{WhyUnreadable(path)};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw Failure{QStringLiteral("cannot read %1: %2").arg(Quoted(path), file.errorString())};
    }
    return bytes;
}

struct MenuFile {
    std::vector<MenuItemRecord> records;
    qint64 size = 0;
};

MenuFile ReadMenuFile(const QString& path) {
    const QByteArray bytes = ReadWholeFile(path);
    MenuReadResult read = DecodeMenuItems(bytes);
    if (read.error == MenuReadError::OutOfMemory ||
        read.error == MenuReadError::OutOfMemoryGrowing) {
        throw Failure{QStringLiteral("cannot read %1: out of memory").arg(Quoted(path))};
    }
    if (read.items.empty()) {
        throw Failure{QStringLiteral("cannot read %1: it holds no record").arg(Quoted(path))};
    }
    return {std::move(read.items), bytes.size()};
}

void ReadTextDb(const QString& path, TextDb& textDb) {
    QFile file;
    if (!OpenRegularFileForReading(path, file)) throw Failure{WhyUnreadable(path)};
    if (textDb.Read(file) != TextDb::ReadError::None) {
        throw Failure{QStringLiteral("cannot read %1: out of memory").arg(Quoted(path))};
    }
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    if (SaveFileAtomically(path, bytes)) return;
    const QFileInfo info(path);
    QString why = QStringLiteral("permission denied");
    if (!info.absoluteDir().exists()) {
        why = QStringLiteral("its folder does not exist");
    } else if (info.exists() && !info.isFile()) {
        why = QStringLiteral("it is not a regular file");
    } else if (info.exists() && !info.isWritable()) {
        why = QStringLiteral("it is read-only");
    }
    throw Failure{QStringLiteral("cannot write %1: %2").arg(Quoted(path), why)};
}

// --- Command lines -------------------------------------------------------------

// A parser for one command, with its help text and usage errors.
class CommandLine {
  public:
    CommandLine(QString command, const QString& description)
        : command_(std::move(command)), help_(parser_.addHelpOption()) {
        parser_.setApplicationDescription(description);
    }

    QCommandLineParser& parser() { return parser_; }

    void AddOption(const QCommandLineOption& option) { parser_.addOption(option); }
    void AddArgument(const QString& name, const QString& description, const QString& syntax = {}) {
        parser_.addPositionalArgument(name, description, syntax);
    }

    // Parses the arguments after the command's name. Returns an exit status
    // when the command is done with (help shown or a usage error), else nothing.
    std::optional<int> Parse(const QStringList& arguments, Output& output, int minArguments,
                             int maxArguments) {
        QStringList withProgram = arguments;
        withProgram.prepend(QStringLiteral("kaveldef"));
        if (!parser_.parse(withProgram)) return UsageError(output, parser_.errorText());
        if (parser_.isSet(help_) || parser_.isSet(QStringLiteral("help-all"))) {
            output.Out(HelpText());
            return kExitSuccess;
        }
        const qsizetype count = parser_.positionalArguments().size();
        if (count < minArguments) return UsageError(output, QStringLiteral("missing arguments"));
        if (count > maxArguments) {
            return UsageError(output, QStringLiteral("unexpected argument %1")
                                          .arg(Quoted(parser_.positionalArguments().last())));
        }
        return std::nullopt;
    }

    int UsageError(Output& output, const QString& message) {
        output.Err(command_ + QStringLiteral(": ") + message);
        output.Err(QStringLiteral("try 'kaveldef %1 --help'").arg(command_));
        return kExitFailed;
    }

    QString HelpText() const {
        // The parser names the running executable; the help names the command.
        QString text = parser_.helpText();
        const qsizetype usageEnd = text.indexOf(QLatin1String(" [options]"));
        if (text.startsWith(QLatin1String("Usage: ")) && usageEnd > 0) {
            text.replace(0, usageEnd, QStringLiteral("Usage: kaveldef ") + command_);
        }
        return text + QLatin1Char('\n') + QString::fromLatin1(kExitStatusText);
    }

  private:
    QString command_;
    QCommandLineParser parser_;
    QCommandLineOption help_;
};

std::optional<dump::Format> FormatNamed(const QString& name) {
    if (name.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0) return dump::Format::Csv;
    if (name.compare(QLatin1String("json"), Qt::CaseInsensitive) == 0) return dump::Format::Json;
    return std::nullopt;
}

// --- Dumps -----------------------------------------------------------------------

// The options of a command that writes a dump: its format and the file.
class DumpOutput {
  public:
    explicit DumpOutput(CommandLine& line)
        : format_(QStringLiteral("format"),
                  QStringLiteral("csv or json; by default json when the output file's name ends "
                                 "in .json, otherwise csv."),
                  QStringLiteral("FORMAT")),
          file_({QStringLiteral("o"), QStringLiteral("output")},
                QStringLiteral("Write the dump to this file instead of the standard output."),
                QStringLiteral("DUMP")) {
        line.AddOption(format_);
        line.AddOption(file_);
    }

    // After the command line is parsed: the format, or the status of a usage error.
    std::optional<int> Choose(CommandLine& line, Output& output) {
        const QCommandLineParser& parser = line.parser();
        chosen_ = parser.value(file_).endsWith(QLatin1String(".json"), Qt::CaseInsensitive)
                             ? dump::Format::Json
                             : dump::Format::Csv;
        if (!parser.isSet(format_)) return std::nullopt;
        const std::optional<dump::Format> chosen = FormatNamed(parser.value(format_));
        if (!chosen) {
            return line.UsageError(output, QStringLiteral("unknown format %1 (csv or json)")
                                               .arg(Quoted(parser.value(format_))));
        }
        chosen_ = *chosen;
        return std::nullopt;
    }
    dump::Format format() const { return chosen_; }

    int Write(CommandLine& line, Output& output, const QByteArray& text) const {
        const QString path = line.parser().value(file_);
        if (path.isEmpty()) {
            output.OutBytes(text);
        } else {
            WriteFile(path, text);
        }
        return kExitSuccess;
    }

  private:
    QCommandLineOption format_;
    QCommandLineOption file_;
    dump::Format chosen_ = dump::Format::Csv;
};

// The options of a command that builds a file from a dump, and the dump.
class DumpInput {
  public:
    DumpInput(CommandLine& line, const QString& fileHelp, const QString& fileName)
        : format_(QStringLiteral("format"),
                  QStringLiteral("csv or json; by default from the dump's file name (.csv, "
                                 ".json), otherwise from its content."),
                  QStringLiteral("FORMAT")),
          file_({QStringLiteral("o"), QStringLiteral("output")}, fileHelp, fileName),
          fileName_(fileName) {
        line.AddArgument(QStringLiteral("DUMP"),
                         QStringLiteral("The dump, CSV or JSON ('-' reads the standard input)."));
        line.AddOption(format_);
        line.AddOption(file_);
    }

    // After the command line is parsed: reads the dump, or gives the status
    // of a usage error.
    std::optional<int> Read(CommandLine& line, Output& output) {
        const QCommandLineParser& parser = line.parser();
        if (!parser.isSet(file_)) {
            return line.UsageError(
                output, QStringLiteral("the output file is missing (-o %1)").arg(fileName_));
        }
        std::optional<dump::Format> chosen;
        if (parser.isSet(format_)) {
            chosen = FormatNamed(parser.value(format_));
            if (!chosen) {
                return line.UsageError(output, QStringLiteral("unknown format %1 (csv or json)")
                                                   .arg(Quoted(parser.value(format_))));
            }
        }
        const QString path = parser.positionalArguments().at(0);
        const bool fromInput = path == QLatin1String("-");
        text = fromInput ? output.in().readAll() : ReadWholeFile(path);
        shownPath = fromInput ? QStringLiteral("standard input") : path;
        format = chosen.value_or(dump::DetectFormat(path, text));
        outputPath = parser.value(file_);
        return std::nullopt;
    }

    QByteArray text;
    QString shownPath;
    dump::Format format = dump::Format::Csv;
    QString outputPath;

  private:
    QCommandLineOption format_;
    QCommandLineOption file_;
    QString fileName_;
};

// --- dump ------------------------------------------------------------------------

int Dump(const QStringList& arguments, Output& output) {
    CommandLine line(
        QStringLiteral("dump"),
        QStringLiteral(
            "Writes every record of a menu definition file as text, one record per line:\n"
            "index, id, type (as the property panel shows it; typeBytes holds the four\n"
            "stored bytes in hex when the shown form does not give them back), posX, posY,\n"
            "scaleX, scaleY (as shown, and their exact 32-bit patterns in the ...Bits\n"
            "fields), textId, text (with --textdb), font and color. A last record the file\n"
            "holds only in part is marked by storedBytes. 'kaveldef build' turns the dump\n"
            "back into the file."));
    line.AddArgument(QStringLiteral("MENU_FILE"), QStringLiteral("The menu definition file."));
    const QCommandLineOption textDbOption(QStringLiteral("textdb"),
                                          QStringLiteral("Show the texts of this string database."),
                                          QStringLiteral("DB"));
    line.AddOption(textDbOption);
    DumpOutput dumped(line);
    if (const std::optional<int> done = line.Parse(arguments, output, 1, 1)) return *done;
    if (const std::optional<int> refused = dumped.Choose(line, output)) return *refused;
    QCommandLineParser& parser = line.parser();

    const MenuFile menu = ReadMenuFile(parser.positionalArguments().at(0));
    std::optional<TextDb> textDb;
    if (parser.isSet(textDbOption)) ReadTextDb(parser.value(textDbOption), textDb.emplace());
    return dumped.Write(
        line, output,
        dump::WriteDump(menu.records, menu.size, dumped.format(), textDb ? &*textDb : nullptr));
}

// --- build -----------------------------------------------------------------------

// Reports a dump's faults, the first ones; false when there was any, and then
// nothing is written.
bool ReportProblems(const std::vector<dump::Problem>& problems, const QString& shownPath,
                    Output& output) {
    int shown = 0;
    for (const dump::Problem& problem : problems) {
        if (shown++ == kMaxProblemsShown) {
            output.Err(QStringLiteral("%1: and %2 more")
                           .arg(shownPath)
                           .arg(problems.size() - kMaxProblemsShown));
            break;
        }
        output.Err(shownPath + QStringLiteral(": ") + problem.Describe());
    }
    if (problems.empty()) return true;
    output.Err(QStringLiteral("nothing was written"));
    return false;
}

int Build(const QStringList& arguments, Output& output) {
    CommandLine line(
        QStringLiteral("build"),
        QStringLiteral(
            "Builds a menu definition file from a dump made by 'kaveldef dump', possibly\n"
            "edited by hand. Records are written in the order of the dump's lines; index,\n"
            "text and storedBytes are not read. Of a number given both ways, the exact\n"
            "32-bit pattern (posXBits ...) is used, unless the shown text (posX ...) no\n"
            "longer matches it: then the text was edited, and the edit is used. The same\n"
            "holds for typeBytes and type. Delete a bits field (or column) to let the\n"
            "shown text alone decide. A dump with a faulty value is refused with its line,\n"
            "field and reason, and nothing is written."));
    DumpInput input(line, QStringLiteral("The menu definition file to write (required)."),
                   QStringLiteral("MENU_FILE"));
    if (const std::optional<int> done = line.Parse(arguments, output, 1, 1)) return *done;
    if (const std::optional<int> refused = input.Read(line, output)) return *refused;
    const dump::ReadResult read = dump::ReadDump(input.text, input.format);
    if (read.problems.empty() && read.records.empty()) {
        output.Err(input.shownPath + QStringLiteral(": the dump holds no record"));
        output.Err(QStringLiteral("nothing was written"));
        return kExitRefused;
    }
    if (!ReportProblems(read.problems, input.shownPath, output)) return kExitRefused;
    WriteFile(input.outputPath, EncodeMenuItems(read.records));
    return kExitSuccess;
}

// --- render ----------------------------------------------------------------------

std::optional<QSize> SizeNamed(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch()) return std::nullopt;
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    if (width < 1 || height < 1 || width > kMaxRenderSide || height > kMaxRenderSide) {
        return std::nullopt;
    }
    return QSize(width, height);
}

int Render(const QStringList& arguments, Output& output) {
    CommandLine line(
        QStringLiteral("render"),
        QStringLiteral(
            "Draws the editor's preview of one record into a PNG picture, pixel for pixel\n"
            "as the editor's preview area of that size shows it: the record (and, for a\n"
            "window, its elements) over the menu background, with the loading pictures.\n"
            "A skin file sets the preview's colours and pictures as in the editor; the\n"
            "picture names inside it are relative to the current folder."));
    line.AddArgument(QStringLiteral("MENU_FILE"), QStringLiteral("The menu definition file."));
    line.AddArgument(QStringLiteral("DB"), QStringLiteral("The string database (textdb_xx.def)."));
    const QCommandLineOption recordOption(
        QStringLiteral("record"),
        QStringLiteral("The record to show, by its index as dump and check give it (from 0)."),
        QStringLiteral("N"));
    const QCommandLineOption inWindowOption(
        QStringLiteral("in-window"),
        QStringLiteral("Draw an element in its window's screen, with the window and the rest "
                       "of the screen, as the editor shows a selected element (by default an "
                       "element is drawn by itself, at its own position)."));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"),
        QStringLiteral("The preview area's size in pixels (default 800x600, at most 8192 "
                       "each way)."),
        QStringLiteral("WxH"), QStringLiteral("800x600"));
    const QCommandLineOption skinOption(QStringLiteral("skin"),
                                        QStringLiteral("A skin file, such as skin/skin.txt."),
                                        QStringLiteral("SKIN"));
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("The PNG picture to write (required)."),
                                          QStringLiteral("OUT.png"));
    line.AddOption(recordOption);
    line.AddOption(inWindowOption);
    line.AddOption(sizeOption);
    line.AddOption(skinOption);
    line.AddOption(outputOption);
    if (const std::optional<int> done = line.Parse(arguments, output, 2, 2)) return *done;
    QCommandLineParser& parser = line.parser();
    if (!parser.isSet(recordOption)) {
        return line.UsageError(output, QStringLiteral("the record is missing (--record N)"));
    }
    if (!parser.isSet(outputOption)) {
        return line.UsageError(output, QStringLiteral("the output file is missing (-o OUT.png)"));
    }
    bool isNumber = false;
    const qlonglong index = parser.value(recordOption).toLongLong(&isNumber);
    if (!isNumber || index < 0) {
        return line.UsageError(
            output,
            QStringLiteral("%1 is not a record index").arg(Quoted(parser.value(recordOption))));
    }
    const std::optional<QSize> size = SizeNamed(parser.value(sizeOption));
    if (!size) {
        return line.UsageError(output, QStringLiteral("%1 is not a size such as 800x600")
                                           .arg(Quoted(parser.value(sizeOption))));
    }

    const MenuFile menu = ReadMenuFile(parser.positionalArguments().at(0));
    if (index >= static_cast<qlonglong>(menu.records.size())) {
        return line.UsageError(output, QStringLiteral("there is no record %1: the file holds "
                                                      "records 0 to %2")
                                           .arg(index)
                                           .arg(menu.records.size() - 1));
    }
    TextDb textDb;
    ReadTextDb(parser.positionalArguments().at(1), textDb);

    preview::PreviewLook look;
    preview::PreviewSkin skin(look);
    if (parser.isSet(skinOption)) {
        const QString skinPath = parser.value(skinOption);
        QFile skinFile;
        if (!OpenRegularFileForReading(skinPath, skinFile)) throw Failure{WhyUnreadable(skinPath)};
        LineReader reader(skinFile);
        try {
            ApplySkinFile(reader, skin, PictureLoading{&LoadPicture, &LoadBitmap});
        } catch (const std::exception& error) {
            // The editor reports it too and keeps the lines read before it.
            output.Err(QStringLiteral("warning: skin %1: %2; the lines before it apply")
                           .arg(Quoted(skinPath), QString::fromUtf8(error.what())));
        }
    }

    const std::size_t shown = preview::ShownFor(menu.records, static_cast<std::size_t>(index),
                                                parser.isSet(inWindowOption));
    const QImage image = preview::RenderPreviewImage(menu.records, shown, textDb, *size, look);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QImageWriter writer(&png, "png");
    if (image.isNull() || !writer.write(image)) {
        throw Failure{QStringLiteral("cannot make the picture: %1").arg(writer.errorString())};
    }
    WriteFile(parser.value(outputOption), png.data());
    return kExitSuccess;
}

// --- check -----------------------------------------------------------------------

int Check(const QStringList& arguments, Output& output) {
    CommandLine line(
        QStringLiteral("check"),
        QStringLiteral(
            "Lists what is likely a mistake in a menu definition file, one finding per line\n"
            "with the record's index: a short last record; a textId a string database does\n"
            "not hold (when DB is given); a window with no elements; a record that leaves\n"
            "the 800 x 600 screen (an element placed from its window's corner, below the\n"
            "caption of wint, frac and frmt); a type outside the type catalogue; an rcta\n"
            "record whose id is not 100, 101 or 102 and a pbrt record whose id is not 300,\n"
            "which call for no picture. Given several string databases (one per language),\n"
            "it names the databases that lack a record's textId, and then lists, database\n"
            "by database, the text ids that another database holds and it lacks."));
    line.AddArgument(QStringLiteral("MENU_FILE"), QStringLiteral("The menu definition file."));
    line.AddArgument(QStringLiteral("DB"),
                     QStringLiteral("The string databases to look the texts up in."),
                     QStringLiteral("[DB...]"));
    if (const std::optional<int> done =
            line.Parse(arguments, output, 1, std::numeric_limits<int>::max()))
        return *done;
    const QStringList files = line.parser().positionalArguments();

    const MenuFile menu = ReadMenuFile(files.at(0));
    std::vector<TextDb> textDbs(static_cast<std::size_t>(files.size() - 1));
    std::vector<menu_check::NamedTextDb> named;
    for (qsizetype i = 1; i < files.size(); ++i) {
        TextDb& textDb = textDbs[static_cast<std::size_t>(i - 1)];
        ReadTextDb(files.at(i), textDb);
        named.push_back({files.at(i), &textDb});
    }
    const std::vector<menu_check::Finding> findings =
        menu_check::CheckMenu(menu.records, menu.size, named);
    for (const menu_check::Finding& finding : findings) {
        output.Out(finding.Describe() + QLatin1Char('\n'));
    }
    const std::vector<QString> missing = menu_check::CompareTextDbs(named);
    for (const QString& text : missing) output.Out(text + QLatin1Char('\n'));
    return findings.empty() && missing.empty() ? kExitSuccess : kExitRefused;
}

// --- texts -----------------------------------------------------------------------

int TextsDump(const QStringList& arguments, Output& output) {
    CommandLine line(
        QStringLiteral("texts dump"),
        QStringLiteral(
            "Writes every entry of a string database as text, one entry per line: its\n"
            "index, id and text. The first line (CSV) or the headerBytes field (JSON) holds\n"
            "the 4 bytes at offset 4 in hex. Texts are shown whole, as Windows-1252 in\n"
            "UTF-8; a backslash is written \\\\, and a control character or a byte the code\n"
            "page leaves undefined as \\xHH. 'kaveldef texts build' turns the dump back\n"
            "into the file."));
    line.AddArgument(QStringLiteral("DB"), QStringLiteral("The string database."));
    DumpOutput dumped(line);
    if (const std::optional<int> done = line.Parse(arguments, output, 1, 1)) return *done;
    if (const std::optional<int> refused = dumped.Choose(line, output)) return *refused;
    const QString path = line.parser().positionalArguments().at(0);
    TextDb textDb;
    ReadTextDb(path, textDb);
    // A count that no file can hold (each entry takes 9 bytes at least) is
    // not spelt out entry by entry: the dump could never be built again.
    if (8 + 9 * std::uint64_t{textDb.count()} > std::numeric_limits<std::uint32_t>::max()) {
        throw Failure{QStringLiteral("cannot dump %1: its count of %2 entries is more than a "
                                     "string database can hold")
                          .arg(Quoted(path))
                          .arg(textDb.count())};
    }
    return dumped.Write(line, output, texts_dump::WriteDump(textDb, dumped.format()));
}

int TextsBuild(const QStringList& arguments, Output& output) {
    CommandLine line(
        QStringLiteral("texts build"),
        QStringLiteral(
            "Builds a string database from a dump made by 'kaveldef texts dump', possibly\n"
            "edited by hand: the entries in the order of the dump's lines (index is not\n"
            "read), their texts after the table in the same order, each ending in a NUL.\n"
            "A dump of a file laid out so gives its bytes back. A dump with a faulty\n"
            "line is refused with its line, field and reason, and nothing is written."));
    DumpInput input(line, QStringLiteral("The string database to write (required)."),
                   QStringLiteral("DB"));
    if (const std::optional<int> done = line.Parse(arguments, output, 1, 1)) return *done;
    if (const std::optional<int> refused = input.Read(line, output)) return *refused;
    const texts_dump::ReadResult read = texts_dump::ReadDump(input.text, input.format);
    if (!ReportProblems(read.problems, input.shownPath, output)) return kExitRefused;
    const std::optional<QByteArray> bytes = read.Encode();
    if (!bytes) {
        output.Err(input.shownPath + QStringLiteral(": the texts do not fit a string database of 4 GB"));
        output.Err(QStringLiteral("nothing was written"));
        return kExitRefused;
    }
    WriteFile(input.outputPath, *bytes);
    return kExitSuccess;
}

int Texts(const QStringList& arguments, Output& output) {
    const QString verb = arguments.value(0);
    if (verb == QLatin1String("dump")) return TextsDump(arguments.mid(1), output);
    if (verb == QLatin1String("build")) return TextsBuild(arguments.mid(1), output);
    if (verb == QLatin1String("-h") || verb == QLatin1String("--help")) {
        output.Out(QStringLiteral(
            "Usage: kaveldef texts COMMAND [options] ARGUMENTS\n"
            "\n"
            "Writes a string database as CSV or JSON, one entry per line, and builds one\n"
            "from such a dump.\n"
            "\n"
            "Commands:\n"
            "  dump    Write every entry of a string database as CSV or JSON.\n"
            "  build   Build a string database from a dump, byte for byte.\n"
            "\n"
            "'kaveldef texts COMMAND --help' describes a command and its options.\n"
            "\n"
            "Options:\n"
            "  -h, --help     Show this help.\n"
            "\n") + QString::fromLatin1(kExitStatusText));
        return kExitSuccess;
    }
    output.Err(verb.isEmpty() ? QStringLiteral("texts: dump or build is missing")
                              : QStringLiteral("texts: unknown verb %1 (dump or build)").arg(Quoted(verb)));
    output.Err(QStringLiteral("try 'kaveldef texts --help'"));
    return kExitFailed;
}

// --- The program -----------------------------------------------------------------

struct Command {
    const char* name;
    int (*run)(const QStringList&, Output&);
};

constexpr Command kCommands[] = {
    {"dump", &Dump},
    {"build", &Build},
    {"render", &Render},
    {"check", &Check},
    {"texts", &Texts},
};

QString ProgramHelp() {
    return QStringLiteral(
               "Usage: kaveldef COMMAND [options] ARGUMENTS\n"
               "\n"
               "The command-line companion of Kavel.def Editor, for the menu definition file\n"
               "kavel.def of the game Brenmoor.\n"
               "\n"
               "Commands:\n"
               "  dump    Write every record as CSV or JSON, one record per line.\n"
               "  build   Build a menu definition file from a dump, byte for byte.\n"
               "  render  Draw the editor's preview of one record into a PNG picture.\n"
               "  check   List likely mistakes in a menu definition file.\n"
               "  texts   Dump a string database as CSV or JSON, or build one from a dump.\n"
               "\n"
               "'kaveldef COMMAND --help' describes a command and its options.\n"
               "\n"
               "Options:\n"
               "  -h, --help     Show this help.\n"
               "  -v, --version  Show the version.\n"
               "\n") +
           QString::fromLatin1(kExitStatusText);
}

int RunCommand(const Command& command, const QStringList& arguments, Output& output) {
    try {
        return command.run(arguments, output);
    } catch (const Failure& failure) {
        output.Err(QString::fromLatin1(command.name) + QStringLiteral(": ") + failure.message);
        return kExitFailed;
    } catch (const std::bad_alloc&) {
        output.Err(QString::fromLatin1(command.name) + QStringLiteral(": out of memory"));
        return kExitFailed;
    }
}

}  // namespace

bool NeedsGui(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(u'-')) return arguments[i] == QLatin1String("render");
    }
    return false;
}

int Run(const QStringList& arguments, Streams streams) {
    Output output(streams);
    const QStringList rest = arguments.mid(1);
    if (rest.isEmpty()) {
        output.Err(QStringLiteral("no command given; try 'kaveldef --help'"));
        return kExitFailed;
    }
    const QString& first = rest.front();
    if (first == QLatin1String("-h") || first == QLatin1String("--help") ||
        first == QLatin1String("-?") || first == QLatin1String("help")) {
        if (first == QLatin1String("help") && rest.size() > 1) {
            return Run({arguments.front(), rest.at(1), QStringLiteral("--help")}, streams);
        }
        output.Out(ProgramHelp());
        return kExitSuccess;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        output.Out(QStringLiteral("kaveldef %1\n").arg(QCoreApplication::applicationVersion()));
        return kExitSuccess;
    }
    for (const Command& command : kCommands) {
        if (first == QLatin1String(command.name)) return RunCommand(command, rest.mid(1), output);
    }
    output.Err(QStringLiteral("unknown command %1; try 'kaveldef --help'").arg(Quoted(first)));
    return kExitFailed;
}

}  // namespace kaveldef
