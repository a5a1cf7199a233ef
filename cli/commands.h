#pragma once

#include <QIODevice>
#include <QStringList>

// kaveldef's commands: dump, build, render and check. Each takes its own
// command line (QCommandLineParser), reads its files, and reports through the
// streams given, so that the program and the tests run the same code.
namespace kaveldef {

enum ExitStatus {
    kExitSuccess = 0,  // done; check found nothing
    kExitRefused = 1,  // check found something; build refused the dump
    kExitFailed = 2,   // bad command line, or a file that cannot be read or written
};

struct Streams {
    QIODevice& in;  // the dump when build is given "-"
    QIODevice& out;
    QIODevice& err;
};

// arguments[0] is the program's name, as QCoreApplication::arguments() gives
// it. render draws with fonts, so it needs a QGuiApplication; the others run
// under a QCoreApplication.
int Run(const QStringList& arguments, Streams streams);

// True when the command line asks for render (which needs a QGuiApplication).
bool NeedsGui(const QStringList& arguments);

}  // namespace kaveldef
