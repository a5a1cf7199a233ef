#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QStringList>

#include "cli/commands.h"
#include "document/menu_file.h"
#include "support/files.h"
#include "support/records.h"

// Files and command runs shared by the kaveldef tests.
namespace cli_test {

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

inline QString SamplePath(const char* name) {
    return QStringLiteral(KAVEL_SOURCE_DIR "/samples/") + QLatin1String(name);
}

}  // namespace cli_test
