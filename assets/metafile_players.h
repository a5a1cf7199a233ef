#pragma once

// The drawing libraries behind RenderWindowsMetafile and
// RenderEnhancedMetafile; they get files whose records have been checked.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

struct IsolatedDrawing;

namespace metafile_detail {

[[noreturn]] void Damaged(const QString& why);
// The bytes a drawing library sent back from its child process; raises the
// library's own refusal, or a damaged-picture error when the child was too
// slow or failed.
QByteArray DrawnBytes(const IsolatedDrawing& drawing);
// Raises "Metafile picture too large" for a size beyond the budget, and a
// damaged-picture error for an empty one.
void CheckPictureSize(qint64 width, qint64 height);

// The Windows metafile checked, with its header's longest-record length set
// to the longest record it holds, ready for the player.
QByteArray WindowsMetafileForPlayer(const QByteArray& bytes);

// The enhanced metafile checked, and the size it is drawn at.
QSize CheckEnhancedMetafile(const QByteArray& bytes);

// libwmf, through its gd device into a true-colour picture.
QImage PlayWindowsMetafile(const QByteArray& bytes);
// libemf2svg into SVG, drawn by Qt SVG at `size`.
QImage PlayEnhancedMetafile(const QByteArray& bytes, QSize size);

}  // namespace metafile_detail
