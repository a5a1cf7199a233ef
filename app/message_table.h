#pragma once

#include "config/language_texts.h"
#include "preview/preview_colors.h"

// The process-wide table of interface texts: built-in English until a
// language file replaces them.
LanguageTexts& MessageTable();

// The six process-wide skin colours of the preview (the first is also the
// colour of error texts in the status bar).
preview::PreviewColors& SkinColors();

// Fixed texts of the program.
namespace fixed_text {
inline const QString kAppTitle = QStringLiteral("Kavel.def Editor");
inline const QString kOrganization = QStringLiteral("Kavel");
inline const QString kVersion = QStringLiteral("v1.00");
inline const QString kCaption = QStringLiteral("Kavel.def Editor v1.00");
inline const QString kCaptionOpen = QStringLiteral("Kavel.def Editor v1.00 [");
inline const QString kCaptionClose = QStringLiteral("]");
inline const QString kCaptionSeparator = QStringLiteral(" [");
inline const QString kLanguageList = QStringLiteral("lang/langList.txt");
inline const QString kSettings = QStringLiteral("settings.txt");
inline const QString kSkin = QStringLiteral("skin/skin.txt");
inline const QString kSaveFilter = QStringLiteral("text_xx.def|*.def");
inline const QString kMenuFileName = QStringLiteral("kavel.def");
// The credits. The project has no web page or mail address of its own yet:
// the web link opens the project's notes in the working folder, and the mail
// link stays inert until an address exists.
inline const QString kWebLinkText = QStringLiteral("Project notes");
inline const QString kWebAddress = QStringLiteral("README.md");
inline const QString kMailLinkText = QStringLiteral("No mail address yet");
inline const QString kMailAddress = QString();
inline const QString kLastCreditLine = QStringLiteral("Free software, 2026");
}  // namespace fixed_text
