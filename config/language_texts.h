#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <vector>

class LineReader;

// Every text of the window that a language file can change, holding the
// built-in English value until a language file replaces it. The window copies
// these onto its widgets after each language change.
struct LanguageTexts {
    // A language file that words only the credit line's lead (line 17), as
    // files did before the whole line had a line of its own, gets this fixed
    // suffix after it.
    static constexpr char kCreditSuffix[] = " the Kavel team";
    // The open dialogs' filters are the language file's label of all files
    // followed by these tails ("Label|pattern|Label|pattern").
    static constexpr char kMenuFileFilterTail[] = "|*.*|kavel.def|*.def";
    static constexpr char kStringsFileFilterTail[] = "|*.*|textdb_xx.def|*.def";

    // The language's own name, shown nowhere.
    QString languageName = QStringLiteral("English");

    // Menus.
    QString fileMenu = QStringLiteral("&File");
    QString editMenu = QStringLiteral("&Edit");
    QString helpMenu = QStringLiteral("&Help");
    QString openAction = QStringLiteral("&Open...");
    QString saveAction = QStringLiteral("&Save");
    QString saveAsAction = QStringLiteral("Save &as...");
    QString exitAction = QStringLiteral("&Exit");
    QString copyItemAction = QStringLiteral("&Copy Item");
    QString pasteItemAction = QStringLiteral("&Paste Item");
    QString duplicateItemAction = QStringLiteral("&Duplicate item");
    QString deleteItemAction = QStringLiteral("D&elete Item");
    QString helpAction = QStringLiteral("Kavel.def Editor &Help");

    // Status bar captions and the credits.
    QString itemsCountCaption = QStringLiteral("Menu items count:");
    QString stateCaption = QStringLiteral("State:");
    QString languageCaption = QStringLiteral("Language:");
    QString creditLead = QStringLiteral("Made by");

    // Messages.
    QString unableToOpenFile = QStringLiteral("Error: unable to open file!");
    QString unableToAllocateItems = QStringLiteral("Error: unable to allocate menu items array!");
    QString unableToReallocateItems =
        QStringLiteral("Error: unable to reallocate menu items array!");
    QString unableToAllocateStrings = QStringLiteral("Error: unable to allocate strings array!");
    QString unableToSaveFile = QStringLiteral("Error: unable to save file!");
    QString selectLanguage = QStringLiteral("Please select a language in combo box below.");
    QString unableToInsertItem = QStringLiteral("Error: unable to insert new menu item!");
    QString atLeastOneItem = QStringLiteral("Menu item must be at least 1!");
    QString unableToDeleteItem = QStringLiteral("Error: unable to delete menu item!");

    // States shown in the status bar; "Loaded documents: [" and "Saved
    // document: [" are followed by the file names and then by documentsEnd.
    QString initializing = QStringLiteral("Inicializing...");
    QString readingItems = QStringLiteral("Reading menu items data...");
    QString readingStrings = QStringLiteral("Reading strings data...");
    QString loadedDocuments = QStringLiteral("Loaded documents: [");
    QString documentsEnd = QStringLiteral("].");
    QString savingItems = QStringLiteral("Saving menu items data...");
    QString savedDocument = QStringLiteral("Saved document: [");
    QString insertingItem = QStringLiteral("Inserting new menu item...");
    QString insertedItem = QStringLiteral("Inserted new menu item.");
    QString confirmDelete = QStringLiteral("Delete menu item?");
    QString deletingItem = QStringLiteral("Deleting menu item...");
    QString deletedItem = QStringLiteral("Menu item deleted.");

    // The language box's text when no language file could be applied.
    QString defaultLanguage = QStringLiteral("Default");

    // Property panel.
    QString menuItemHeading = QStringLiteral("Menu Item");
    QString copyButtonHint = QStringLiteral("Copy Item [Shift+Ctrl+C]");
    QString pasteButtonHint = QStringLiteral("Paste Item [Shift+Ctrl+V]");
    QString idCaption = QStringLiteral("ID:");
    QString typeCaption = QStringLiteral("Type:");
    // The type box's rows; the built-in ones are type_code::kCatalogue.
    std::vector<QString> typeEntries = BuiltInTypeEntries();
    QString positionHeading = QStringLiteral("Position");
    QString positionXCaption = QStringLiteral("X:");
    QString positionYCaption = QStringLiteral("Y:");
    QString scaleHeading = QStringLiteral("Scale");
    QString scaleXCaption = QStringLiteral("X:");
    QString scaleYCaption = QStringLiteral("Y:");
    QString attributesHeading = QStringLiteral("Attributes");
    QString textIdCaption = QStringLiteral("Text ID:");
    QString fontColorCaption = QStringLiteral("Font / Color:");
    QString colorCaption = QStringLiteral("Color:");

    // File dialogs and the help file.
    QString openMenuFileTitle = QStringLiteral("Open kavel.def Brenmoor menu definition file");
    QString openStringsFileTitle =
        QStringLiteral("Open textdb_xx.def Brenmoor string database file");
    QString saveMenuFileTitle = QStringLiteral("Save kavel.def Brenmoor menu definition file");
    QString allFilesLabel = QStringLiteral("All Files");         // menu file dialog
    QString stringsAllFilesLabel = QStringLiteral("All Files");  // string database dialog
    QString stringsFileName = QStringLiteral("textdb_en.def");
    QString helpFileName = QStringLiteral("readme_en.txt");

    // Texts added after the help file's line (line 63+N on). A language file
    // written before them simply ends earlier, and these keep their defaults.
    //
    // Undo and redo: the entries with nothing to take back, and with the name
    // of the step they would undo or redo in place of %1.
    QString undoAction = QStringLiteral("&Undo");
    QString redoAction = QStringLiteral("&Redo");
    QString undoStepAction = QStringLiteral("&Undo %1");
    QString redoStepAction = QStringLiteral("&Redo %1");
    // The names of the steps.
    QString idStep = QStringLiteral("ID");
    QString positionXStep = QStringLiteral("X position");
    QString positionYStep = QStringLiteral("Y position");
    QString scaleXStep = QStringLiteral("X scale");
    QString scaleYStep = QStringLiteral("Y scale");
    QString textIdStep = QStringLiteral("Text ID");
    QString fontColorStep = QStringLiteral("Font / Color");
    QString colorStep = QStringLiteral("Color");
    QString typeStep = QStringLiteral("Type");
    QString duplicateStep = QStringLiteral("Duplicate item");
    QString deleteStep = QStringLiteral("Delete item");
    QString pasteStep = QStringLiteral("Paste item");
    QString moveStep = QStringLiteral("Move element");
    QString resizeStep = QStringLiteral("Resize element");
    // Asked before unsaved changes would be thrown away.
    QString saveChangesQuestion = QStringLiteral("Save changes to the menu definition file?");
    // Finding records.
    QString findAction = QStringLiteral("&Find...");
    QString findNextAction = QStringLiteral("Find &next");
    QString findPreviousAction = QStringLiteral("Find &previous");
    QString goToAction = QStringLiteral("&Go to record...");
    QString findMatchCount = QStringLiteral("%1 of %2");
    QString findNoMatch = QStringLiteral("no match");
    QString goToTitle = QStringLiteral("Go to record");
    QString goToPrompt = QStringLiteral("Record index (0 to %1):");
    QString goToOutOfRange = QStringLiteral("There is no record %1: the records run from 0 to %2.");
    // The record's text in the property panel.
    QString textCaption = QStringLiteral("Text:");
    QString noText = QStringLiteral("(none)");
    // Files changed by other programs.
    QString reloadQuestion = QStringLiteral(
        "The menu definition file was changed on disk. Reload it and lose your changes?");
    QString menuFileReloaded = QStringLiteral("Reloaded the menu definition file: [%1].");
    QString menuFileKept = QStringLiteral("Kept the changes; saving will write over [%1].");
    QString textDbReloaded = QStringLiteral("Reloaded the string database: [%1].");
    QString menuFileGone = QStringLiteral("The menu definition file is gone from disk: [%1].");
    QString textDbGone = QStringLiteral("The string database is gone from disk: [%1].");
    QString unableToSaveOverTextDb =
        QStringLiteral("Error: the string database in use is never saved over!");
    // The language of the toolkit's own texts (box buttons, file dialogs).
    QString toolkitLanguage = QStringLiteral("en");
    QString undoneStatus = QStringLiteral("Undone: %1.");
    QString redoneStatus = QStringLiteral("Redone: %1.");
    // Odd characters, damaged, emptied and returning files.
    QString typeCharacterRefused =
        QStringLiteral("A type code cannot hold '%1': it is not a Windows-1252 character");
    QString menuFileBack = QStringLiteral("The menu definition file is back as it was: [%1].");
    QString textDbBack = QStringLiteral("The string database is back as it was: [%1].");
    // A finding of `kaveldef check` (record index, then what was found), and
    // the finding of a short last record (the bytes held, of a record's).
    QString recordFinding = QStringLiteral("record %1: %2");
    QString shortLastRecord = QStringLiteral(
        "the last record is short: the file holds %1 of its %2 bytes, "
        "the rest reads as 0");
    QString menuFileEmpty = QStringLiteral("Error: the menu definition file is empty!");
    QString textDbEmpty =
        QStringLiteral("Error: the string database holds no texts; the texts loaded are kept!");
    // The whole credit line; see kCreditSuffix.
    QString creditLine = QStringLiteral("Made by the Kavel team");
    // Editing texts: the Edit menu's entry, the names of the steps, the notes
    // below the Text line and the refusals of a typed text (%1 the character
    // and %2 its code; %1 the length and %2 the most).
    QString newTextAction = QStringLiteral("&New Text");
    QString textStep = QStringLiteral("Text");
    QString addTextStep = QStringLiteral("Add text");
    QString newTextStep = QStringLiteral("New text");
    QString textUsers = QStringLiteral("used by %1 items");
    QString textCut = QStringLiteral("shown cut: %1 characters");
    QString textOutsideCodePage =
        QStringLiteral("'%1' (U+%2) is not a character of the Windows-1252 code page");
    QString textTooLong = QStringLiteral("The text has %1 characters; a text holds at most %2");
    QString noFreeTextId =
        QStringLiteral("The string database has no text ID left above its largest");
    // Unsaved changes of the string database.
    QString saveTextDbQuestion = QStringLiteral("Save changes to the string database?");
    QString saveBothQuestion =
        QStringLiteral("Save changes to the menu definition file and the string database?");
    QString menuFileNotSaved = QStringLiteral("Error: unable to save the menu definition file [%1]!");
    QString textDbNotSaved = QStringLiteral("Error: unable to save the string database [%1]!");
    QString textDbReloadQuestion = QStringLiteral(
        "The string database was changed on disk. Reload it and lose your text changes?");
    QString textDbKept = QStringLiteral("Kept the text changes; saving will write over [%1].");
    // The View and Arrange menus, several records at once and the clipboard.
    QString viewMenu = QStringLiteral("&View");
    QString elementsAloneAction = QStringLiteral("Show elements by &themselves");
    QString arrangeMenu = QStringLiteral("&Arrange");
    QString alignLeftAction = QStringLiteral("Align &Left Edges");
    QString alignRightAction = QStringLiteral("Align &Right Edges");
    QString alignTopAction = QStringLiteral("Align &Top Edges");
    QString alignBottomAction = QStringLiteral("Align &Bottom Edges");
    QString alignHorizontalCentersAction = QStringLiteral("Align Horizontal &Centers");
    QString alignVerticalCentersAction = QStringLiteral("Align &Vertical Centers");
    QString distributeHorizontallyAction = QStringLiteral("Distribute &Horizontally");
    QString distributeVerticallyAction = QStringLiteral("Distribute V&ertically");
    QString sameWidthAction = QStringLiteral("Same &Width");
    QString sameHeightAction = QStringLiteral("Same Hei&ght");
    QString arrangeTooFew = QStringLiteral("Select two or more elements of one screen.");
    QString distributeTooFew = QStringLiteral("Select three or more elements of one screen.");
    QString arrangeMixedScreens = QStringLiteral("The selection holds records of different screens.");
    QString arrangeWindowWithElements = QStringLiteral("The selection holds a window together with its own elements.");
    QString confirmDeleteSeveral = QStringLiteral("Delete %1 menu items?");
    QString deletedItems = QStringLiteral("%1 menu items deleted.");
    QString insertedItems = QStringLiteral("Inserted %1 new menu items.");
    QString severalValues = QStringLiteral("(several)");
    QString deleteSeveralStep = QStringLiteral("Delete items");
    QString duplicateSeveralStep = QStringLiteral("Duplicate items");
    QString pasteSeveralStep = QStringLiteral("Paste items");
    QString moveSeveralStep = QStringLiteral("Move elements");
    QString clipboardNotDump = QStringLiteral("The clipboard's text is not a dump of menu items: %1");
    // Recovery of unsaved changes left by an editor that was killed.
    QString recoveryQuestion =
        QStringLiteral("Unsaved changes to [%1] from [%2] were found. Recover them?");
    QString recoveryFileChanged = QStringLiteral("The file has been changed on disk since then.");
    QString recoverButton = QStringLiteral("&Recover");
    QString discardButton = QStringLiteral("&Discard");
    QString laterButton = QStringLiteral("&Later");
    QString recoveryFileRefused = QStringLiteral(
        "The recovery file [%1] is damaged or not one of this editor's; it was set aside as "
        "[%2].");
    QString recoveredStatus =
        QStringLiteral("Recovered the unsaved changes to [%1]; Save writes them there.");
    QString recoveryNotWritten = QStringLiteral("Error: unable to keep a recovery copy in [%1]!");
    // The view of the preview: zoom, game resolution, grid, where the pointer is.
    QString zoomInAction = QStringLiteral("Zoom &In");
    QString zoomOutAction = QStringLiteral("Zoom &Out");
    QString fitToWindowAction = QStringLiteral("&Fit to Window");
    QString actualSizeAction = QStringLiteral("&Actual Size");
    QString resolutionMenu = QStringLiteral("Game &Resolution");
    QString fitResolution = QStringLiteral("Fit to window");
    QString customResolution = QStringLiteral("Custom...");
    QString showGridAction = QStringLiteral("Show &Grid");
    QString gridSizeMenu = QStringLiteral("Grid Si&ze");
    QString gridUnits = QStringLiteral("%1 units");
    QString resolutionRange = QStringLiteral("The game resolution must be 320 to 7680 pixels wide and 200 to 4320 pixels high");
    QString resolutionWidth = QStringLiteral("&Width:");
    QString resolutionHeight = QStringLiteral("&Height:");
    QString zoomStatus = QStringLiteral("Zoom %1 %");
    QString pointerPlace = QStringLiteral("x %1, y %2");
    QString pointerInWindow = QStringLiteral("in window: x %1, y %2");
    QString draftSize = QStringLiteral("width %1, height %2");

    // "Made by the Kavel team".
    QString CreditLine() const { return creditLine; }
    // "record 70: the last record is short: the file holds 26 of its 36
    // bytes, the rest reads as 0", as `kaveldef check` says it.
    QString ShortLastRecordFinding(std::size_t record, int heldBytes) const;
    QString ShortLastRecordText(int heldBytes) const;
    QString RecordFindingText(std::size_t record, const QString& finding) const;
    // "All Files|*.*|kavel.def|*.def"; see FileDialogNameFilters.
    QString MenuFileFilter() const;
    // "All Files|*.*|textdb_xx.def|*.def".
    QString StringsFileFilter() const;

    static std::vector<QString> BuiltInTypeEntries();

    bool operator==(const LanguageTexts&) const = default;
};

// At most this many type box rows are kept from a language file; the
// built-in list has 52.
inline constexpr std::int32_t kMaxTypeEntries = 10000;

// Applies a language file, line by line. An empty line, and every line past
// the end of the file, leaves its text as it is. Line 45 is the number N of
// type box rows that follow it; the rows replace the whole type box, and an
// empty row gives an empty entry. The 17 lines after the rows (line 46+N on)
// set the panel's remaining captions, the dialogs' texts and the help file.
//
// Bounds: the rows are read only up to the end of the file (the rows after it
// are empty entries without reading), and only the first kMaxTypeEntries rows
// are kept; the lines of the rows beyond that are still consumed so that the
// captions after them come from their own lines. Time is thus bounded by the
// file's size and memory by kMaxTypeEntries rows of at most 128 characters.
//
// Throws ConversionError("'<text>' is not a valid integer value") when line 45
// is not an integer; lines 1 to 44 stay applied then, the type box keeps its
// rows and the rest of the file is not read.
void ApplyLanguageFile(LineReader& reader, LanguageTexts& texts);

// Turns a filter in the "Label|pattern|Label|pattern" form into the name
// filters of a Qt file dialog: "All Files|*.*|kavel.def|*.def" gives
// "All Files (*)" and "kavel.def (*.def)". A "*.*" pattern matches every file,
// as it does on Windows, so it becomes "*"; patterns separated by ';' are
// separated by blanks. A label without a pattern after it, or with an empty
// one, is left out.
QStringList FileDialogNameFilters(const QString& filter);
