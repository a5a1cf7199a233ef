#pragma once

#include <QByteArray>
#include <QString>

namespace preview {

// The bytes of the font file that the system's font configuration gives for
// a family's regular face; empty when there is none, when it is not the
// first face of its file, or when it cannot be read. Read once a family.
QByteArray RegularFontFile(const QString& family);

}  // namespace preview
