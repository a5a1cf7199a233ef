// Start-up of the editor.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "app/main_window.h"
#include "app/message_table.h"
#include "app/platform.h"
#include "app/termination_signals.h"
#include "document/recovery_journal.h"

int main(int argc, char** argv) {
    MessageTable();  // the built-in texts exist before anything shows one
    QApplication app(argc, argv);
    // No display name: the window system would add it to every title, and
    // the window's title is exactly its own.
    QApplication::setApplicationName(fixed_text::kAppTitle);
    // Where the settings beyond settings.txt are kept (QSettings).
    QApplication::setOrganizationName(fixed_text::kOrganization);
    QApplication::setApplicationVersion(QStringLiteral("1.00"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Editor of the menu definition file kavel.def of the game Brenmoor."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("MENU_FILE"),
                                 QStringLiteral("Menu definition file to open (kavel.def)."),
                                 QStringLiteral("[MENU_FILE"));
    parser.addPositionalArgument(QStringLiteral("TEXTDB_FILE"),
                                 QStringLiteral("String database to open with it (textdb_xx.def)."),
                                 QStringLiteral("TEXTDB_FILE]"));
    // Qt's own --help would end the program before the exit status is told,
    // which the manual page takes from here too. Errors, --help-all and
    // --version are Qt's.
    if (parser.parse(QCoreApplication::arguments()) && parser.isSet(helpOption)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        std::fputs("\nExit status:\n"
                   "  0  the window was closed\n"
                   "  1  a bad command line, or the window could not be set up\n",
                   stdout);
        return 0;
    }
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty() && files.size() != 2) {
        std::fputs("kavel-editor: give a menu definition file and a string database, or none\n",
                   stderr);
        parser.showHelp(1);
    }

    try {
        QtPlatform platform;
        TmainWin mainWin(platform);
        // Told to end (a logout, a shutdown): the unsaved work is written to
        // its recovery file first, and offered at the next start.
        const TerminationSignals endRequests([&mainWin](int signal) {
            mainWin.recoveryJournal().WriteNowAndKeep();
            QApplication::exit(128 + signal);
        });
        mainWin.show();
        // After start-up, as if chosen in the two open dialogs.
        if (files.size() == 2) mainWin.OpenWhenStarted(files.at(0), files.at(1));
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, fixed_text::kAppTitle,
                              QString::fromUtf8(error.what()) + QLatin1Char('.'));
        return 1;
    }
}
