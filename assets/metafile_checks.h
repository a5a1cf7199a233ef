#pragma once

// What the drawing libraries would trust in a metafile, checked before they
// see it: in the program, so that a damaged file is refused without starting
// the helper, and again in the helper, which trusts no one.

#include <QByteArray>
#include <QSize>
#include <QString>

namespace metafile_detail {

// Raises "Damaged metafile picture: <why>".
[[noreturn]] void Damaged(const QString& why);
// Raises "Metafile picture too large" for a size beyond the budget, and a
// damaged-picture error for an empty one.
void CheckPictureSize(qint64 width, qint64 height);

// The Windows metafile checked, with its header's longest-record length set
// to the longest record it holds, ready for the player.
QByteArray WindowsMetafileForPlayer(const QByteArray& bytes);

// The enhanced metafile checked, and the size it is drawn at.
QSize CheckEnhancedMetafile(const QByteArray& bytes);

}  // namespace metafile_detail
