// Long random editing runs: the window is driven by a seeded random sequence
// of what users do, and after every step its document is checked against a
// small model of the editing rules, kept here apart from the program: raw
// 36-byte records and the string database's entries, a history of whole
// states, the selected rows with the current one, what the preview shows, and
// each file's unsaved state. Each action is a row of kActions: its name, its
// weight, what it does in the window and what it does to the model; new
// commands become new rows.
//
// CI runs a few fixed seeds for a bounded time each; scripts/soak.sh runs
// seed after seed for as long as asked (KAVEL_SOAK_SECONDS, from
// KAVEL_SOAK_SEED on, KAVEL_SOAK_STEPS at most for each). A difference names
// the seed and the step, and the same seed replays the same steps.
#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <bit>
#include <cmath>
#include <random>
#include <set>

#include "app/arrange_menu.h"
#include "app/find_bar.h"
#include "app/preview_panel.h"
#include "app/preview_placing.h"
#include "app/text_line.h"
#include "app/view_options.h"
#include "document/recovery_folder.h"
#include "document/recovery_journal.h"
#include "editing/record_selection.h"
#include "preview/hit_test.h"
#include "preview/placement.h"
#include "support/bytes.h"
#include "window_fixture.h"

namespace {

using Raw = std::array<char, 36>;
using Records = std::vector<Raw>;
using Rows = std::set<std::size_t>;

constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier, kShift = Qt::ShiftModifier;

std::uint32_t U32(const Raw& r, int at) {
    std::uint32_t value = 0;
    for (int b = 3; b >= 0; --b) value = value << 8 | static_cast<std::uint8_t>(r[at + b]);
    return value;
}
void SetU32(Raw& r, int at, std::uint32_t value) {
    for (int b = 0; b < 4; ++b) r[at + b] = static_cast<char>(value >> (8 * b));
}
float F(const Raw& r, int at) {
    return std::bit_cast<float>(U32(r, at));
}
void SetF(Raw& r, int at, double value) {
    SetU32(r, at, std::bit_cast<std::uint32_t>(static_cast<float>(value)));
}
Rows Span(std::size_t begin, std::size_t end) {
    Rows rows;
    for (std::size_t row = begin; row < end; ++row) rows.insert(row);
    return rows;
}

// A code shows in reverse of its stored order, up to the first NUL; a typed
// one is stored so, its missing characters zero.
QString ShownType(const Raw& r) {
    QString shown;
    for (int at = 7; at >= 4 && r[at] != '\0'; --at) shown += QLatin1Char(r[at]);
    return shown;
}
void SetType(Raw& r, const QByteArray& shown) {
    for (int c = 0; c < 4; ++c)
        r[static_cast<std::size_t>(7 - c)] = c < shown.size() ? shown[c] : '\0';
}
bool IsWindow(const Raw& r) {
    return QStringList{"wint", "winc", "wind", "frac", "frmt"}.contains(ShownType(r));
}
// The elements of a captioned window stand below its caption.
double CaptionOf(const Raw& r) {
    return QStringList{"wint", "frac", "frmt"}.contains(ShownType(r)) ? 42 : 0;
}

// A box's lower and higher edge on one axis as it shows.
std::pair<double, double> Edges(const Raw& r, int posAt, double origin = 0) {
    const double first = origin + F(r, posAt), second = first + F(r, posAt + 8);
    return {std::min(first, second), std::max(first, second)};
}
// Pulls the lower or higher edge of a box on one axis (as it shows) by
// `units`: the box never gets smaller than 1 unit (nor than it was, when
// smaller) nor turns over; the position moves where the record's own first
// corner is the edge pulled.
enum Part { kNone, kLow, kHigh };
void Pull(Raw& r, int posAt, Part part, double units) {
    const float pos = F(r, posAt), scale = F(r, posAt + 8);
    const double size = std::abs(double{scale}), grows = part == kLow ? -units : units;
    if (size + grows < std::min(size, 1.0)) units = part == kLow ? size - std::min(size, 1.0)
                                                                 : std::min(size, 1.0) - size;
    if (part == kNone || units == 0.0) return;
    if ((part == kLow) != (scale < 0)) SetF(r, posAt, pos + units);
    SetF(r, posAt + 8, (part == kLow) != (scale < 0) ? scale - units : scale + units);
}

// The characters typed here of Windows-1252: ASCII, Latin-1 letters and the
// euro sign. Nothing for a text that holds any other.
std::optional<QByteArray> CodePageOf(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text) {
        if (c == u'€') bytes += '\x80';
        else if (c.unicode() < 0x80 || (c.unicode() >= 0xA0 && c.unicode() <= 0xFF))
            bytes += static_cast<char>(c.unicode());
        else return std::nullopt;
    }
    return bytes;
}
QString TextOf(const QByteArray& bytes) {
    QString text;
    for (const char b : bytes) text += b == '\x80' ? QChar(u'€') : QChar(static_cast<std::uint8_t>(b));
    return text;
}

// The string database: four header bytes nobody reads and the entries, laid
// out as a save writes them: the count, the header bytes, a table of
// identifiers and offsets, then each text with a NUL, in table order.
struct Texts {
    QByteArray header = QByteArray(4, '\0');
    std::vector<std::pair<std::int32_t, QByteArray>> entries;

    bool operator==(const Texts&) const = default;
    QByteArray Bytes() const {
        QByteArray bytes, texts;
        AppendU32(bytes, static_cast<std::uint32_t>(entries.size()));
        bytes += header;
        for (const auto& [id, text] : entries) {
            AppendU32(bytes, static_cast<std::uint32_t>(id));
            AppendU32(bytes, static_cast<std::uint32_t>(8 + 8 * entries.size() + texts.size()));
            texts += text + '\0';
        }
        return bytes + texts;
    }
    // The first entry with the identifier is the record's text.
    const QByteArray* Find(std::int32_t id) const {
        for (const auto& [entryId, text] : entries)
            if (entryId == id) return &text;
        return nullptr;
    }
    QByteArray* Find(std::int32_t id) { return const_cast<QByteArray*>(std::as_const(*this).Find(id)); }
};

// The selected rows and the current one among them.
struct Selection {
    Rows rows;
    std::size_t current = 0;
    bool operator==(const Selection&) const = default;
};

// The editing rules, as this test states them.
struct Model {
    struct Step {
        Records recordsBefore, recordsAfter;
        Texts textsBefore, textsAfter;
        Selection undo, redo;     // selected when the step is undone, done again
        bool records, texts;      // which files the step changes
        int merge;                // 0, or the kind of key step that merges with the next
        Rows key;                 // the records such a step places
        std::uint64_t serial;
    };
    Records records;
    Texts texts;
    Selection sel;
    std::size_t anchor = 0;  // where Shift extends a run from
    std::vector<Step> steps;
    int index = 0, clean = 0;  // clean -1: no state of the history is saved
    // The text steps done now and when the string database was saved: it is
    // unsaved while they differ, or once it was kept over a changed file.
    std::vector<std::uint64_t> textSteps, textSaved;
    bool textsKept = false;
    std::uint64_t serial = 0;
    QByteArray loaded, loadedTexts;  // both files as the history's first state has them
    // What outlives the document: the records copied, the dump the clipboard
    // holds instead (none: a text that is no dump), and the view.
    Records copied;
    std::optional<std::optional<Records>> clipText;
    bool alone = false;

    int count() const { return static_cast<int>(records.size()); }
    QByteArray Bytes() const {
        QByteArray bytes;
        for (const Raw& r : records) bytes.append(r.data(), 36);
        return bytes;
    }
    bool menuModified() const {
        if (clean < 0) return true;
        for (int i = std::min(clean, index); i < std::max(clean, index); ++i)
            if (steps[static_cast<std::size_t>(i)].records) return true;
        return false;
    }
    bool textsModified() const { return textsKept || textSteps != textSaved; }
    bool modified() const { return menuModified() || textsModified(); }

    void Open(const QByteArray& bytes, const Texts& opened) {
        texts = opened;
        textSteps.clear();
        textSaved.clear();
        textsKept = false;
        LoadRecords(bytes);
        Select(0);
    }
    // The menu file read again: a new history; the texts keep their state.
    void LoadRecords(const QByteArray& bytes) {
        records.resize(static_cast<std::size_t>(bytes.size() / 36));
        for (std::size_t i = 0; i < records.size(); ++i)
            std::memcpy(records[i].data(), bytes.constData() + 36 * i, 36);
        steps.clear();
        index = clean = 0;
        loaded = bytes;
        loadedTexts = texts.Bytes();
    }
    // The string database read again: a history with text steps starts anew,
    // the menu file keeping its unsaved state.
    void LoadTexts(const Texts& read) {
        if (std::any_of(steps.begin(), steps.end(), [](const Step& s) { return s.texts; })) {
            clean = menuModified() ? -1 : 0;
            steps.clear();
            index = 0;
            loaded = Bytes();
        }
        texts = read;
        loadedTexts = read.Bytes();
        textSteps.clear();
        textSaved.clear();
        textsKept = false;
    }
    void Save() {
        clean = index;
        textSaved = textSteps;
        textsKept = false;
    }

    // --- The selection: a click selects a row alone, Ctrl+click adds or
    // removes one (never the last), Shift extends a run from the anchor.
    void Show(const Selection& s) {
        sel = s;
        anchor = s.current;
    }
    void Select(std::size_t row) { Show({{row}, row}); }
    void Set(Rows rows, std::size_t current) {
        rows.insert(current);
        Show({rows, current});
    }
    void Toggle(std::size_t row) {
        if (sel.rows.insert(row).second) {
            sel.current = anchor = row;
        } else if (sel.rows.size() > 1) {
            sel.rows.erase(row);
            anchor = row;
            // A current record taken away: the nearest selected before it.
            const auto after = sel.rows.lower_bound(row);
            if (sel.current == row) sel.current = after == sel.rows.begin() ? *after : *std::prev(after);
        }
    }
    void ExtendTo(std::size_t row) {
        anchor = std::min(anchor, records.size() - 1);
        sel = {Span(std::min(anchor, row), std::max(anchor, row) + 1), row};
    }
    bool Agree(int at, int size = 4) const {
        const Raw& first = records[*sel.rows.begin()];
        return std::all_of(sel.rows.begin(), sel.rows.end(), [&](std::size_t row) {
            return std::memcmp(records[row].data() + at, first.data() + at, size) == 0;
        });
    }

    // --- What the preview shows: the screen of the current record's window,
    // or the record by itself (before the first window, or by choice).
    std::optional<std::size_t> WindowOf(std::size_t row) const {
        for (std::size_t i = row + 1; i-- > 0;)
            if (IsWindow(records[i])) return i;
        return std::nullopt;
    }
    std::size_t ShownFor(std::size_t row) const { return alone ? row : WindowOf(row).value_or(row); }
    std::size_t Shown() const { return ShownFor(sel.current); }
    std::size_t ShownEnd(std::size_t shown) const {
        std::size_t end = shown + 1;
        while (IsWindow(records[shown]) && end < records.size() && !IsWindow(records[end])) ++end;
        return end;
    }
    std::pair<double, double> Origin(std::size_t shown, std::size_t row) const {
        const Raw& w = records[shown];
        return row == shown ? std::pair(0.0, 0.0) : std::pair(double{F(w, 8)}, F(w, 12) + CaptionOf(w));
    }
    // The pixels a record of the screen shown covers: each edge mapped by
    // itself, truncated; a mirrored box as its mirror.
    QRect Covered(std::size_t shown, std::size_t row, QSize size) const {
        const auto [ox, oy] = Origin(shown, row);
        const Raw& r = records[row];
        const auto map = [](double at, double units) { return static_cast<int>(at / units); };
        const double unitsX = 800.0 / size.width(), unitsY = 600.0 / size.height();
        const double left = ox + F(r, 8), top = oy + F(r, 12);
        const int x1 = map(left, unitsX), x2 = map(left + F(r, 16), unitsX);
        const int y1 = map(top, unitsY), y2 = map(top + F(r, 20), unitsY);
        return QRect(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1));
    }

    // --- Commands. A change is a step unless it leaves both files as they
    // are. Key steps of one kind on the same records in a row merge, unless
    // the first is where the file was saved, and go when they come back to
    // where they started.
    bool Change(Records after, Texts textsAfter, const Selection& undo, const Selection& redo,
                bool changesRecords = true, bool changesTexts = false, int merge = 0,
                const Rows& key = {}) {
        if (after == records && textsAfter == texts) return false;
        steps.resize(static_cast<std::size_t>(index));
        if (clean > index) clean = -1;
        Step* last = index > 0 ? &steps.back() : nullptr;
        if (merge != 0 && last && index != clean && last->merge == merge && last->key == key) {
            last->recordsAfter = after;
            if (last->recordsBefore == after) steps.pop_back(), --index;
        } else {
            steps.push_back({records, after, texts, textsAfter, undo, redo, changesRecords,
                             changesTexts, merge, key, ++serial});
            ++index;
            if (changesTexts) textSteps.push_back(serial);
        }
        records = std::move(after);
        texts = std::move(textsAfter);
        return true;
    }
    // Sets what `edit` sets on every selected record, as one step.
    template <typename Edit>
    bool EditSelected(Edit edit, int merge = 0, const Rows& key = {}) {
        Records after = records;
        for (const std::size_t row : sel.rows) edit(after[row]);
        return Change(after, texts, sel, sel, true, false, merge, key);
    }
    void Walk(bool forward) {
        if (forward ? index == static_cast<int>(steps.size()) : index == 0) return;
        const Step& step = steps[static_cast<std::size_t>(forward ? index++ : --index)];
        // A step puts back only what it changes: the string database may have
        // been read anew since.
        if (step.records) records = forward ? step.recordsAfter : step.recordsBefore;
        if (step.texts) texts = forward ? step.textsAfter : step.textsBefore;
        Show(forward ? step.redo : step.undo);
        if (step.texts) forward ? textSteps.push_back(step.serial) : textSteps.pop_back();
    }

    // Copies right after the last selected record, selected, the copy of the
    // current record current.
    void Duplicate() {
        Records after = records;
        Records copies;
        for (const std::size_t row : sel.rows) copies.push_back(records[row]);
        const std::size_t at = *sel.rows.rbegin() + 1;
        const auto rank = static_cast<std::size_t>(std::distance(sel.rows.begin(), sel.rows.find(sel.current)));
        after.insert(after.begin() + static_cast<std::ptrdiff_t>(at), copies.begin(), copies.end());
        const Selection copied = {Span(at, at + copies.size()), at + rank};
        Change(after, texts, sel, copied);
        Show(copied);
    }
    // Afterwards the record before the first removed one is selected.
    void Delete() {
        Records after;
        for (std::size_t row = 0; row < records.size(); ++row)
            if (!sel.rows.count(row)) after.push_back(records[row]);
        const std::size_t first = *sel.rows.begin(), before = first == 0 ? 0 : first - 1;
        Change(after, texts, sel, {{before}, before});
        Select(before);
    }
    // The dump on the clipboard, or the records copied here: one overwrites
    // every selected record, several are inserted after the current one and
    // selected. A text that is no dump changes nothing.
    void Paste() {
        if (clipText && !*clipText) return;
        const Records pasted = clipText ? **clipText : copied;
        if (pasted.size() == 1) {
            if (EditSelected([&](Raw& r) { r = pasted[0]; })) Show(sel);
        } else if (!pasted.empty()) {
            const std::size_t at = sel.current + 1;
            Records after = records;
            after.insert(after.begin() + static_cast<std::ptrdiff_t>(at), pasted.begin(), pasted.end());
            const Selection inserted = {Span(at, at + pasted.size()), at};
            Change(after, texts, sel, inserted);
            Show(inserted);
        }
    }
    // A move takes every selected record, except the elements of a selected
    // window: they go with it.
    Rows Moved() const {
        Rows moved;
        for (const std::size_t row : sel.rows) {
            const std::optional<std::size_t> window = WindowOf(row);
            if (!window || *window == row || !sel.rows.count(*window)) moved.insert(row);
        }
        return moved;
    }
    void MoveBy(const Rows& moved, double dx, double dy, bool byKey) {
        Records after = records;
        for (const std::size_t row : moved) {
            SetF(after[row], 8, F(after[row], 8) + dx);
            SetF(after[row], 12, F(after[row], 12) + dy);
        }
        Change(after, texts, sel, sel, true, false, byKey ? 1 : 0, moved);
    }
    // Handles and Ctrl+arrows resize the current record alone; undone, it is
    // selected alone.
    void Resize(Part x, double dx, Part y, double dy, bool byKey) {
        Records after = records;
        Pull(after[sel.current], 8, x, dx);
        Pull(after[sel.current], 12, y, dy);
        const Selection current = {{sel.current}, sel.current};
        Change(after, texts, current, current, true, false, byKey ? 2 : 0, {sel.current});
    }

    // --- Arrange, in the menu's order: align left, right, top, bottom edges,
    // horizontal and vertical centres, distribute horizontally and
    // vertically, same width and height. Disabled for fewer than two records
    // (three to distribute), records of different screens, or a window
    // selected with its own elements.
    bool ArrangeRefused(int kind) const {
        if (sel.rows.size() < (kind == 6 || kind == 7 ? 3u : 2u)) return true;
        const std::optional<std::size_t> window = WindowOf(*sel.rows.begin());
        for (const std::size_t row : sel.rows)
            if (WindowOf(row) != window) return true;
        return window && sel.rows.count(*window);
    }
    Records Arranged(int kind) const {
        Records after = records;
        if (kind >= 8) {
            for (const std::size_t row : sel.rows)
                SetU32(after[row], kind == 8 ? 16 : 20, U32(records[sel.current], kind == 8 ? 16 : 20));
            return after;
        }
        const int at = kind == 0 || kind == 1 || kind == 4 || kind == 6 ? 8 : 12;
        std::vector<std::size_t> rows(sel.rows.begin(), sel.rows.end());
        const auto edges = [&](std::size_t row) { return Edges(records[row], at); };
        const auto moveBy = [&](std::size_t row, double by) { SetF(after[row], at, F(records[row], at) + by); };
        if (kind < 6) {
            // To the outermost edge, or to the centre of the bounding box.
            const int side = kind < 4 ? (kind % 2 == 0 ? -1 : 1) : 0;
            double low = INFINITY, high = -INFINITY;
            for (const std::size_t row : rows) {
                low = std::min(low, edges(row).first);
                high = std::max(high, edges(row).second);
            }
            const double target = side < 0 ? low : side > 0 ? high : (low + high) / 2;
            for (const std::size_t row : rows) {
                const auto [l, h] = edges(row);
                moveBy(row, target - (side < 0 ? l : side > 0 ? h : (l + h) / 2));
            }
            return after;
        }
        // Equal gaps between the outermost two, in the order of the boxes'
        // lower edges; each box on its place rounded from the first one's far
        // edge, so that no error adds up.
        std::stable_sort(rows.begin(), rows.end(),
                         [&](std::size_t a, std::size_t b) { return edges(a).first < edges(b).first; });
        const auto first = edges(rows.front()), last = edges(rows.back());
        double widths = 0, before = 0;
        for (std::size_t k = 1; k + 1 < rows.size(); ++k) widths += edges(rows[k]).second - edges(rows[k]).first;
        const double gap = (last.first - first.second - widths) / static_cast<double>(rows.size() - 1);
        for (std::size_t k = 1; k + 1 < rows.size(); ++k) {
            const auto [l, h] = edges(rows[k]);
            moveBy(rows[k], first.second + before + std::round(static_cast<double>(k) * gap) - l);
            before += h - l;
        }
        return after;
    }

    // --- The Text line shows the text of the current record where every
    // selected record has its textId, and takes nothing typed otherwise.
    std::optional<std::int32_t> TextIdShown() const {
        if (!Agree(24)) return std::nullopt;
        return static_cast<std::int32_t>(U32(records[sel.current], 24));
    }
    QString TextShown() const {
        const std::optional<std::int32_t> id = TextIdShown();
        const QByteArray* entry = id ? texts.Find(*id) : nullptr;
        return entry ? TextOf(entry->left(99)) : QString();
    }
    // A text the database can hold: 99 characters of Windows-1252.
    static std::optional<QByteArray> Stored(const QString& typed) {
        if (typed.size() > 99) return std::nullopt;
        return CodePageOf(typed);
    }
    // Taken over: the text of the record's entry, or a new entry with its
    // textId when it has none; a text left as shown changes nothing.
    void TypeText(const QString& typed) {
        const std::optional<std::int32_t> id = TextIdShown();
        const std::optional<QByteArray> stored = Stored(typed);
        if (!id || typed == TextShown() || !stored) return;
        Texts after = texts;
        if (QByteArray* entry = after.Find(*id)) *entry = *stored;
        else if (!stored->isEmpty()) after.entries.push_back({*id, *stored});
        const Selection current = {{sel.current}, sel.current};
        Change(records, after, current, current, false, true);
    }
    // New Text: the current record gets the identifier after the largest and
    // an entry with the typed text (the whole text of its entry when left as
    // shown).
    void NewText(const QString& typed) {
        const std::optional<std::int32_t> id = TextIdShown();
        if (!id) return;
        const QByteArray* entry = texts.Find(*id);
        const std::optional<QByteArray> text = entry && typed == TextShown() ? *entry : Stored(typed);
        if (!text) return;
        std::int32_t largest = 0;
        for (const auto& [other, unused] : texts.entries) largest = std::max(largest, other);
        Texts after = texts;
        after.entries.push_back({largest + 1, *text});
        Records withId = records;
        SetU32(withId[sel.current], 24, static_cast<std::uint32_t>(largest + 1));
        const Selection current = {{sel.current}, sel.current};
        Change(withId, after, current, current, true, true);
    }

    // Found: a text holding what was typed in any case, the very type code,
    // or the number as the id or the text id.
    bool Matches(const Raw& r, const QString& typed) const {
        const QByteArray* text = texts.Find(static_cast<std::int32_t>(U32(r, 24)));
        if (text && TextOf(text->left(99)).toCaseFolded().contains(typed.toCaseFolded()))
            return true;
        bool number = false;
        const auto value = static_cast<std::uint32_t>(typed.toInt(&number, 10));
        return ShownType(r) == typed || (number && (U32(r, 0) == value || U32(r, 24) == value));
    }
};

// How far a group dragged by `units` moves on one axis: with snapping on to
// the line nearest to its bounding box's lower edge, centre or higher edge,
// within reach (of equally near lines the higher, of equally near edges the
// first).
double Snapped(double low, double high, double units, const std::vector<double>& lines,
               double reach) {
    std::optional<double> offset;
    for (const double edge : {low + units, (low + high) / 2 + units, high + units}) {
        std::optional<double> nearest;
        for (const double line : lines) {
            const double apart = std::abs(line - edge);
            if (!nearest || apart < std::abs(*nearest - edge) ||
                (apart == std::abs(*nearest - edge) && line > *nearest))
                nearest = line;
        }
        if (std::abs(*nearest - edge) <= reach && (!offset || std::abs(*nearest - edge) < std::abs(*offset)))
            offset = *nearest - edge;
    }
    return units + offset.value_or(0.0);
}

// A dump of records as kaveldef writes one, in CSV: values as shown, or the
// exact bits.
QByteArray DumpOf(const Records& records, bool bits) {
    QByteArray text = bits ? "id,typeBytes,posXBits,posYBits,scaleXBits,scaleYBits,textId,font,color\n"
                           : "id,type,posX,posY,scaleX,scaleY,textId,font,color\n";
    const auto hex = [](std::uint32_t value) { return "0x" + QString::number(value, 16).rightJustified(8, u'0'); };
    for (const Raw& r : records) {
        QStringList cells = {QString::number(static_cast<std::int32_t>(U32(r, 0))),
                             bits ? QString::fromLatin1(QByteArray(r.data() + 4, 4).toHex()) : ShownType(r)};
        for (const int at : {8, 12, 16, 20})
            cells << (bits ? hex(U32(r, at)) : QString::number(double{F(r, at)}, 'g', 9));
        cells << QString::number(static_cast<std::int32_t>(U32(r, 24))) << hex(U32(r, 28)) << hex(U32(r, 32));
        text += cells.join(u',').toUtf8() + '\n';
    }
    return text;
}

// What an action chose, for the model to follow.
struct Pick {
    std::size_t row = 0;
    int at = 0;
    std::uint32_t bits = 0;
    QString text;
    bool yes = false, edge = false;
    double dx = 0, dy = 0;
    QByteArray bytes;
    Records records;
    Texts texts;
    // In the preview: the pixels pressed and released on a picture of `size`,
    // the record and the handle there, and the keys held.
    QPoint from, to;
    QSize size;
    std::optional<std::size_t> hit;
    std::optional<preview::Handle> handle;
    Qt::KeyboardModifiers keys;
};

constexpr int kFieldAt[] = {0, 8, 12, 16, 20, 24, 28, 32};
constexpr arrange::Arrangement kArrange[] = {
    arrange::Arrangement::AlignLeft,      arrange::Arrangement::AlignRight,
    arrange::Arrangement::AlignTop,       arrange::Arrangement::AlignBottom,
    arrange::Arrangement::AlignHorizontalCenters, arrange::Arrangement::AlignVerticalCenters,
    arrange::Arrangement::DistributeHorizontally, arrange::Arrangement::DistributeVertically,
    arrange::Arrangement::SameWidth,      arrange::Arrangement::SameHeight};
const QString kTypedTexts[] = {"Start game", "Neues Spiel", "Optionen für Töne", "Preis: 5 €",
                               "GAME OVER", "", "Ā", "→ weiter", QString(100, u'x')};

class WindowSoak : public WindowTest {
  protected:
    struct Action {
        const char* name;
        int weight;
        bool (*window)(WindowSoak&, Pick&);  // false: does not apply now
        void (*model)(Model&, const Pick&);
    };
    static const std::vector<Action> kActions;

    void Run(std::uint32_t seed, qint64 milliseconds, int maxSteps) {
        random.seed(seed);
        Texts texts;
        texts.entries = {{1, "Start game"}, {2, "Options"}, {3, "Quit"}, {4, "Sound Volume"}};
        WriteBytes(Path("textdb_en.def"), texts.Bytes());
        const QByteArray bytes = RandomMenu();
        WriteBytes(Path("kavel.def"), bytes);
        platform.saveChangesAnswers = {SaveAnswer::Discard};
        OpenFiles(Path("kavel.def"), Path("textdb_en.def"));
        model.Open(bytes, texts);

        QElapsedTimer clock;
        clock.start();
        int total = 0;
        for (const Action& action : kActions) total += action.weight;
        for (step = 0; step < maxSteps && clock.elapsed() < milliseconds; ++step) {
            int pick = static_cast<int>(Roll(static_cast<std::uint32_t>(total)));
            const Action* action = &kActions[0];
            while (pick >= action->weight) pick -= (action++)->weight;
            where = QString("seed %1, step %2 (%3)").arg(seed).arg(step).arg(action->name).toStdString();
            Pick choice;
            if (!action->window(*this, choice)) continue;
            action->model(model, choice);
            Check();
            if (HasFatalFailure()) return;
        }
        // The history leads back to what was loaded and forward to its end,
        // and the recovery file holds the unsaved work while there is any.
        while (model.index < static_cast<int>(model.steps.size())) model.Walk(true);
        while (window->mmMainUndo->isEnabled()) window->mmMainUndo->trigger();
        EXPECT_EQ(Bytes(), model.loaded) << where;
        EXPECT_EQ(window->document().EncodeTextDb().value_or("none"), model.loadedTexts) << where;
        while (window->mmMainRedo->isEnabled()) window->mmMainRedo->trigger();
        EXPECT_EQ(Bytes(), model.Bytes()) << where;
        EXPECT_EQ(window->document().EncodeTextDb().value_or("none"), model.texts.Bytes()) << where;
        RecoveryJournal& journal = window->recoveryJournal();
        journal.StartCopy();
        const auto textsCopied = model.textsModified() ? std::optional(model.texts.Bytes()) : std::nullopt;
        ASSERT_TRUE(Eventually([&] {
            const RecoveryCopy copy = ReadRecoveryFile(journal.copyPath()).copy;
            const QByteArray records = EncodeMenuItems(copy.records);
            return !journal.writing() && (model.modified() ? records == Bytes() && copy.textDbBytes == textsCopied
                                                           : records.isEmpty());
        })) << where;
        std::printf("soak: seed %u, %d steps\n", seed, step);
        std::fflush(stdout);
    }

    void Check() {
        ASSERT_EQ(Bytes(), model.Bytes()) << where;
        ASSERT_EQ(window->document().EncodeTextDb().value_or("none"), model.texts.Bytes()) << where;
        ASSERT_EQ(window->lbMIcount2->text().toInt(), model.count()) << where;
        const QAbstractItemModel& list = *window->lbMain->model();
        ASSERT_EQ(list.rowCount(), model.count()) << where;
        for (int row = 0; row < model.count(); ++row) {
            ASSERT_EQ(list.index(row, 0).data().toString(),
                      QString::number(row) + "   " + ShownType(model.records[std::size_t(row)]))
                << where;
        }
        // One selection in the list and the preview, never empty, the current
        // record among it; the preview shows the current record's screen and
        // frames what of it is selected.
        std::vector<std::size_t> selected;
        window->selection().rows().ForEach([&](std::size_t row) { selected.push_back(row); });
        ASSERT_EQ(selected, std::vector(model.sel.rows.begin(), model.sel.rows.end())) << where;
        ASSERT_EQ(window->selection().current(), model.sel.current) << where;
        ASSERT_EQ(window->lbMain->currentIndex().row(), static_cast<int>(model.sel.current)) << where;
        const QSize size = window->pnMap->drawnSize();
        const std::size_t shown = model.Shown();
        std::vector<QRect> others;
        for (std::size_t row = shown; row < model.ShownEnd(shown); ++row) {
            if (model.sel.rows.count(row) && row != model.sel.current)
                others.push_back(model.Covered(shown, row, size));
        }
        const PreviewMarks& marks = window->pnMap->marks();
        ASSERT_TRUE(marks.box) << where;
        ASSERT_EQ(*marks.box, model.Covered(shown, model.sel.current, size)) << where;
        ASSERT_EQ(marks.selected, others) << where;
        // Each file's unsaved state, in the title too.
        const bool menu = model.menuModified(), texts = model.textsModified();
        ASSERT_EQ(window->document().menuFileModified(), menu) << where;
        ASSERT_EQ(window->document().textDbModified(), texts) << where;
        const auto mark = [](bool unsaved) { return unsaved ? "*" : ""; };
        ASSERT_EQ(window->windowTitle(), QString("Kavel.def Editor v1.00%1 [%2]%3 [%4]%5")
                                             .arg(mark(menu || texts), Path("kavel.def"), mark(menu),
                                                  Path("textdb_en.def"), mark(texts)))
            << where;
        ASSERT_EQ(window->mmMainUndo->isEnabled(), model.index > 0) << where;
        ASSERT_EQ(window->mmMainRedo->isEnabled(), model.index < int(model.steps.size())) << where;
        ASSERT_EQ(window->mmMainPaste->isEnabled(), !model.copied.empty() || model.clipText) << where;
        for (int kind = 0; kind < 10; ++kind) {
            ASSERT_EQ(window->arrangeMenu->Action(kArrange[kind])->isEnabled(), !model.ArrangeRefused(kind))
                << where << ", entry " << kind;
        }
    }

    QByteArray Bytes() const { return EncodeMenuItems(window->menuItems()); }
    std::uint32_t Roll(std::uint32_t below) { return static_cast<std::uint32_t>(random() % below); }
    std::size_t RollRow() { return Roll(static_cast<std::uint32_t>(model.count())); }

    // Windows and elements on the screen, some of them loading pictures.
    QByteArray RandomMenu() {
        static const char* const kCodes[] = {"wint", "butt", "stxt", "edit",
                                             "wind", "list", "rcta", "frac"};
        QByteArray bytes;
        for (std::uint32_t i = 0, count = 3 + Roll(10); i < count; ++i) {
            Raw r{};
            const QByteArray code = kCodes[i == 0 ? 0 : Roll(8)];
            const bool window = code.startsWith("win") || code == "frac";
            SetType(r, code);
            SetU32(r, 0, Roll(4) == 0 ? 100 + Roll(3) : Roll(9));
            SetF(r, 8, Roll(window ? 300 : 500));
            SetF(r, 12, Roll(window ? 200 : 400) + 0.5);
            SetF(r, 16, window ? 200 + Roll(400) : 1 + Roll(200));
            SetF(r, 20, window ? 150 + Roll(300) : 1 + Roll(80));
            SetU32(r, 24, Roll(6));
            SetU32(r, 28, Roll(0xFFFFFFFF));
            SetU32(r, 32, Roll(0xFFFFFFFF));
            bytes.append(r.data(), 36);
        }
        return bytes;
    }
    // Entries of identifiers 1 to 8 (some twice), now and then a text longer
    // than the window shows.
    Texts RandomTexts() {
        static const char* const kTexts[] = {"Start game", "Options", "Quit", "Neues Spiel",
                                             "Optionen f\xfcr T\xf6ne", "Preis: 5 \x80", "GAME OVER", ""};
        Texts texts;
        for (char& b : texts.header) b = static_cast<char>(Roll(256));
        for (std::uint32_t i = 0, count = 2 + Roll(5); i < count; ++i) {
            texts.entries.push_back({static_cast<std::int32_t>(1 + Roll(8)),
                                     Roll(8) == 0 ? "Long " + QByteArray(120, 'o') : QByteArray(kTexts[Roll(8)])});
        }
        return texts;
    }

    // Types into a field as keys do, characters beyond ASCII as text alone.
    static void Type(QWidget* field, const QString& text) {
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(field, c.toLatin1());
                continue;
            }
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(type, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(field, &key);
            }
        }
    }
    // Types into a field, then leaves it by Tab or takes it with Enter.
    void Commit(QWidget* field, QLineEdit* edit, const QString& text, bool enter) {
        field->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        Type(field, text);
        QTest::keyClick(field, enter ? Qt::Key_Return : Qt::Key_Tab);
    }
    QLineEdit* Field(int field) const {
        QLineEdit* fields[] = {window->edID,     window->edPosX,   window->edPosY, window->edScaleX,
                               window->edScaleY, window->edTextdb, window->edFont, window->edColor};
        return fields[field];
    }
    // Expects the window to have shown `boxes` more error boxes; a field that
    // refused its text is put back as stored.
    void ExpectErrors(qsizetype before, qsizetype boxes, QWidget* refusing = nullptr) {
        Settle();
        EXPECT_EQ(platform.errorBoxes.size(), before + boxes)
            << where << ": " << platform.errorBoxes.mid(before).join(u'\n').toStdString();
        if (boxes > 0 && refusing) QTest::keyClick(refusing, Qt::Key_Escape);
    }

    // The preview, in the pixels of its picture.
    QPoint RandomPoint() {
        const QSize size = window->pnMap->drawnSize();
        return {static_cast<int>(Roll(static_cast<std::uint32_t>(size.width()))),
                static_cast<int>(Roll(static_cast<std::uint32_t>(size.height())))};
    }
    // What the user sees there: the record on top, a handle of the current one.
    void Aim(Pick& p) {
        const PreviewPanel& panel = *window->pnMap;
        p.size = panel.drawnSize();
        p.hit = preview::RecordAt(window->menuItems(), model.Shown(), p.from, p.size.width(), p.size.height());
        const PreviewMarks& marks = panel.marks();
        if (marks.box && marks.handles) p.handle = preview::HandleAt(*marks.box, p.from);
    }
    void Mouse(QTest::MouseAction action, QPoint at, Qt::KeyboardModifiers keys) {
        PreviewPanel& panel = *window->pnMap;
        QTest::mouseEvent(action, panel.viewport(),
                          action == QTest::MouseMove ? Qt::NoButton : Qt::LeftButton, keys,
                          panel.view().ToArea(at));
    }
    // A drag from p.from to p.to: the press with p.keys, the rest with `keys`.
    void Drag(const Pick& p, Qt::KeyboardModifiers keys) {
        Mouse(QTest::MousePress, p.from, p.keys);
        Mouse(QTest::MouseMove, p.to, keys);
        Mouse(QTest::MouseRelease, p.to, keys);
    }

    std::mt19937 random;
    Model model;
    int step = 0;
    std::string where;
};

void Nothing(Model&, const Pick&) {}

const std::vector<WindowSoak::Action> WindowSoak::kActions = {
    {"click a row, with Ctrl or Shift", 12,
     [](WindowSoak& s, Pick& p) {
         p.row = s.RollRow();
         p.keys = QList<Qt::KeyboardModifiers>{{}, {}, kCtrl, kShift}[s.Roll(4)];
         s.ClickRow(static_cast<int>(p.row), p.keys);
         return true;
     },
     [](Model& m, const Pick& p) {
         p.keys == kCtrl ? m.Toggle(p.row) : p.keys == kShift ? m.ExtendTo(p.row) : m.Select(p.row);
     }},
    {"keys in the list", 6,
     [](WindowSoak& s, Pick& p) {
         static const Qt::Key kKeys[] = {Qt::Key_Up,    Qt::Key_Down,  Qt::Key_Home,
                                         Qt::Key_End,   Qt::Key_Space, Qt::Key_A};
         p.at = static_cast<int>(s.Roll(6));
         p.keys = p.at >= 4 ? kCtrl : s.Roll(3) ? kShift : Qt::NoModifier;
         s.window->lbMain->setFocus(Qt::MouseFocusReason);
         QTest::keyClick(s.window->lbMain, kKeys[p.at], p.keys);
         return true;
     },
     [](Model& m, const Pick& p) {
         if (p.at == 4) return m.Toggle(m.sel.current);
         if (p.at == 5) return void(m.sel.rows = Span(0, m.records.size()));
         const std::size_t now = m.sel.current, last = m.records.size() - 1;
         const std::size_t to = p.at == 0 ? (now == 0 ? 0 : now - 1)
                                : p.at == 1 ? std::min(now + 1, last)
                                : p.at == 2 ? 0 : last;
         if (to != now) p.keys == kShift ? m.ExtendTo(to) : m.Select(to);
     }},
    {"click in the preview, with Ctrl or Shift", 6,
     [](WindowSoak& s, Pick& p) {
         p.from = s.RandomPoint();
         p.keys = QList<Qt::KeyboardModifiers>{{}, kCtrl, kShift}[s.Roll(3)];
         s.Aim(p);
         s.Mouse(QTest::MousePress, p.from, p.keys);
         s.Mouse(QTest::MouseRelease, p.from, p.keys);
         return true;
     },
     [](Model& m, const Pick& p) {
         // A handle or empty space selects nothing, nor does Shift on the
         // window's own box (where a band starts).
         if (p.handle || !p.hit) return;
         if (!p.keys) return m.Select(*p.hit);
         if (p.keys == kShift && *p.hit == m.Shown() && IsWindow(m.records[*p.hit])) return;
         // Only what stays in the screen shown joins or leaves the selection.
         if (m.ShownFor(*p.hit) == m.Shown()) m.Toggle(*p.hit);
     }},
    {"rubber band in the preview", 4,
     [](WindowSoak& s, Pick& p) {
         // From empty space, or with Shift from the window's own box.
         p.from = s.RandomPoint();
         p.to = s.RandomPoint();
         p.keys = QList<Qt::KeyboardModifiers>{{}, kCtrl, kShift}[s.Roll(3)];
         s.Aim(p);
         const bool onWindow = p.hit && *p.hit == s.model.Shown() && IsWindow(s.model.records[*p.hit]);
         if (onWindow) p.keys = kShift;
         const QPoint apart = p.to - p.from;
         if (p.handle || (p.hit && !onWindow) ||
             std::max(std::abs(apart.x()), std::abs(apart.y())) < PreviewPlacing::kDragStartPixels)
             return false;
         s.Drag(p, p.keys);
         return true;
     },
     [](Model& m, const Pick& p) {
         // The elements the band touches, its frame drawn from the pixel
         // pressed to the one past the pixel released.
         const std::size_t shown = m.Shown();
         const QRect band = QRect(p.from, p.to).normalized().adjusted(0, 0, 1, 1);
         Rows touched;
         for (std::size_t row = IsWindow(m.records[shown]) ? shown + 1 : shown; row < m.ShownEnd(shown); ++row)
             if (m.Covered(shown, row, p.size).intersects(band)) touched.insert(row);
         if (touched.empty()) return;
         if (p.keys) return m.sel.rows.insert(touched.begin(), touched.end());
         m.Set(touched, touched.count(m.sel.current) ? m.sel.current : *touched.begin());
     }},
    {"Ctrl+A in the preview", 2,
     [](WindowSoak& s, Pick&) {
         s.window->pnMap->setFocus(Qt::MouseFocusReason);
         QTest::keyClick(s.window->pnMap, Qt::Key_A, kCtrl);
         return true;
     },
     [](Model& m, const Pick&) {
         // Every element of the screen shown; a window alone is its screen.
         const std::size_t shown = m.Shown(), end = m.ShownEnd(shown);
         const Rows screen = Span(end > shown + 1 ? shown + 1 : shown, end);
         m.Set(screen, screen.count(m.sel.current) ? m.sel.current : *screen.begin());
     }},
    {"show elements by themselves, or in their window", 1,
     [](WindowSoak& s, Pick&) { return s.window->viewOptions->elementsAloneAction()->trigger(), true; },
     [](Model& m, const Pick&) { m.alone = !m.alone; }},
    {"commit a field", 12,
     [](WindowSoak& s, Pick& p) {
         p.at = static_cast<int>(s.Roll(8));
         if (p.at >= 1 && p.at <= 4) {
             const double value = static_cast<int>(s.Roll(1601)) - 800 + s.Roll(4) / 4.0;
             p.bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
             p.text = QString::number(value, 'g', 9);
         } else {
             p.bits = static_cast<std::uint32_t>(s.random());
             p.text = s.Roll(2) ? QString::number(static_cast<std::int32_t>(p.bits))
                                : "0x" + QString::number(p.bits, 16);
         }
         s.Commit(s.Field(p.at), s.Field(p.at), p.text, s.Roll(2));
         return true;
     },
     [](Model& m, const Pick& p) { m.EditSelected([&](Raw& r) { SetU32(r, kFieldAt[p.at], p.bits); }); }},
    {"commit a faulty field", 3,
     [](WindowSoak& s, Pick&) {
         static const char* const kFaulty[] = {"", "abc", "1,5", "0x", "1.2.3", "1e99999", "--3"};
         const int field = static_cast<int>(s.Roll(8));
         const QString text = kFaulty[s.Roll(7)];
         const qsizetype boxes = s.platform.errorBoxes.size();
         s.Commit(s.Field(field), s.Field(field), text, true);
         // A field the selected records differ in shows empty: left empty, it
         // changes none of them.
         s.ExpectErrors(boxes, !text.isEmpty() || s.model.Agree(kFieldAt[field]), s.Field(field));
         return true;
     },
     Nothing},
    {"change the type", 5,
     [](WindowSoak& s, Pick& p) {
         static const char* const kTyped[] = {"butt", "wint", "stxt", "Zq9!", "ab", "scrl", "rcta"};
         QComboBox* box = s.window->cbType;
         if (s.Roll(3) == 0) {
             box->setFocus(Qt::MouseFocusReason);
             box->setCurrentIndex(static_cast<int>(s.Roll(static_cast<std::uint32_t>(box->count()))));
             p.text = box->currentText();
             QTest::keyClick(box, Qt::Key_Return);
         } else {
             s.Commit(box, box->lineEdit(), p.text = kTyped[s.Roll(7)], s.Roll(2));
         }
         return true;
     },
     [](Model& m, const Pick& p) {
         // An empty box, or one left as it showed, changes nothing.
         const QString shown = m.Agree(4) ? ShownType(m.records[m.sel.current]) : QString();
         if (p.text.isEmpty() || p.text == shown) return;
         m.EditSelected([&](Raw& r) { SetType(r, p.text.left(4).toLatin1()); });
     }},
    {"duplicate", 5,
     [](WindowSoak& s, Pick&) {
         if (s.model.count() + s.model.sel.rows.size() > 48) return false;
         s.window->mmMainInsert->trigger();
         return true;
     },
     [](Model& m, const Pick&) { m.Duplicate(); }},
    {"delete", 5,
     [](WindowSoak& s, Pick& p) {
         s.platform.yesNoAnswers = {p.yes = s.Roll(4) != 0};
         const qsizetype refusals = s.platform.messageBoxes.size(), asked = s.platform.questions.size();
         s.window->mmMainDelete->trigger();
         // A document keeps a record: deleting every one is refused unasked.
         const std::size_t n = s.model.sel.rows.size();
         if (n == s.model.records.size()) {
             EXPECT_EQ(s.platform.messageBoxes.mid(refusals),
                       QStringList{"Kavel.def Editor: Menu item must be at least 1!"}) << s.where;
             EXPECT_EQ(s.platform.questions.size(), asked) << s.where;
             p.yes = false;
         } else {
             EXPECT_EQ(s.platform.questions.mid(asked),
                       QStringList{n == 1 ? QString("Kavel.def Editor: Delete menu item?")
                                          : QString("Kavel.def Editor: Delete %1 menu items?").arg(n)})
                 << s.where;
         }
         return true;
     },
     [](Model& m, const Pick& p) {
         if (p.yes) m.Delete();
     }},
    {"copy", 4, [](WindowSoak& s, Pick&) { return s.window->mmMainCopy->trigger(), true; },
     [](Model& m, const Pick&) {
         m.copied.clear();
         for (const std::size_t row : m.sel.rows) m.copied.push_back(m.records[row]);
         m.clipText.reset();
     }},
    {"paste", 5,
     [](WindowSoak& s, Pick&) {
         if (s.model.count() + s.model.copied.size() > 48) return false;
         const qsizetype boxes = s.platform.errorBoxes.size();
         s.window->mmMainPaste->trigger();
         s.ExpectErrors(boxes, s.model.clipText && !*s.model.clipText);
         return true;
     },
     [](Model& m, const Pick&) { m.Paste(); }},
    {"paste a dump from the clipboard", 3,
     [](WindowSoak& s, Pick& p) {
         const std::size_t count = s.Roll(3) == 0 ? 1 : 2 + s.Roll(3);
         if (s.model.count() + count > 48) return false;
         // Records of the document, some moved; exact bits, or values as
         // shown (which keep no bytes hidden behind a type's NUL).
         const bool bits = s.Roll(2);
         for (std::size_t i = 0; i < count; ++i) {
             Raw r = s.model.records[s.RollRow()];
             SetF(r, 8, F(r, 8) + s.Roll(50));
             if (!bits) SetType(r, ShownType(r).toLatin1());
             p.records.push_back(r);
         }
         QByteArray text = DumpOf(p.records, bits);
         // Now and then a number that is none, a column no dump has, or no
         // record at all: each is refused.
         p.at = static_cast<int>(s.Roll(8));
         if (p.at == 0) text.insert(text.size() - 1, 'x');
         if (p.at == 1) text.replace("textId", "textID");
         if (p.at == 2) text.truncate(text.indexOf('\n') + 1);
         const qsizetype boxes = s.platform.errorBoxes.size();
         QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
         s.window->mmMainPaste->trigger();
         s.ExpectErrors(boxes, p.at <= 2);
         return true;
     },
     [](Model& m, const Pick& p) {
         m.clipText = p.at <= 2 ? std::optional<Records>() : p.records;
         m.Paste();
     }},
    {"drag in the preview", 10,
     [](WindowSoak& s, Pick& p) {
         // The user takes hold of a handle of the current record or of the
         // record on top where the pointer is; handles are pulled freely, a
         // record moved with Alt freely, otherwise snapping.
         p.from = s.RandomPoint();
         s.Aim(p);
         if (!p.hit && !p.handle) return false;
         const QPoint by(static_cast<int>(s.Roll(121)) - 60, static_cast<int>(s.Roll(121)) - 60);
         if (std::max(std::abs(by.x()), std::abs(by.y())) < PreviewPlacing::kDragStartPixels) return false;
         p.to = p.from + by;
         p.yes = p.handle || s.Roll(2);
         s.Drag(p, p.yes ? Qt::AltModifier : Qt::NoModifier);
         return true;
     },
     [](Model& m, const Pick& p) {
         const QPoint by = p.to - p.from;
         const double ux = std::round(by.x() * 800.0 / p.size.width());
         const double uy = std::round(by.y() * 600.0 / p.size.height());
         if (p.handle) {
             using H = preview::Handle;
             const H h = *p.handle;
             const Part x = h == H::TopLeft || h == H::Left || h == H::BottomLeft     ? kLow
                            : h == H::TopRight || h == H::Right || h == H::BottomRight ? kHigh
                                                                                      : kNone;
             const Part y = h == H::TopLeft || h == H::Top || h == H::TopRight           ? kLow
                            : h == H::BottomLeft || h == H::Bottom || h == H::BottomRight ? kHigh
                                                                                         : kNone;
             return m.Resize(x, ux, y, uy, false);
         }
         // The press selects the record in place (one of several selected
         // becomes current) and the drag takes the selection along; a record
         // that would show another screen once selected moves alone.
         Rows moved = {*p.hit};
         if (m.ShownFor(*p.hit) == m.Shown()) {
             if (!m.sel.rows.count(*p.hit)) m.Select(*p.hit);
             else if (m.sel.current != *p.hit) m.Set(m.sel.rows, *p.hit);
             moved = m.Moved();
         }
         // Snapping takes the bounding box of what moves of the screen shown
         // to the edges and centres of the other boxes drawn (none while its
         // window moves) and of the screen itself.
         const std::size_t shown = m.Shown(), end = m.ShownEnd(shown);
         std::optional<std::array<double, 4>> group;  // left, top, right, bottom
         std::vector<double> xs = {0, 400, 800}, ys = {0, 300, 600};
         const bool windowMoves = moved.count(shown) && IsWindow(m.records[shown]);
         for (std::size_t row = shown; row < end; ++row) {
             const auto [ox, oy] = m.Origin(shown, row);
             const auto x = Edges(m.records[row], 8, ox), y = Edges(m.records[row], 12, oy);
             if (moved.count(row)) {
                 group = group ? std::array{std::min((*group)[0], x.first), std::min((*group)[1], y.first),
                                            std::max((*group)[2], x.second), std::max((*group)[3], y.second)}
                               : std::array{x.first, y.first, x.second, y.second};
             } else if (!windowMoves && F(m.records[row], 16) != 0 && F(m.records[row], 20) != 0) {
                 xs.insert(xs.end(), {x.first, (x.first + x.second) / 2, x.second});
                 ys.insert(ys.end(), {y.first, (y.first + y.second) / 2, y.second});
             }
         }
         if (!group) return;
         const auto [left, top, right, bottom] = *group;
         const double dx = p.yes ? ux : Snapped(left, right, ux, xs, 4 * 800.0 / p.size.width());
         const double dy = p.yes ? uy : Snapped(top, bottom, uy, ys, 4 * 600.0 / p.size.height());
         if (dx != 0 || dy != 0) m.MoveBy(moved, dx, dy, false);
     }},
    {"nudge or resize by keys", 10,
     [](WindowSoak& s, Pick& p) {
         static const Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
         const std::uint32_t key = s.Roll(4);
         const double units = s.Roll(3) == 0 ? 10 : 1;
         p.edge = s.Roll(3) == 0;
         p.dx = key == 0 ? -units : key == 1 ? units : 0;
         p.dy = key == 2 ? -units : key == 3 ? units : 0;
         QTest::keyClick(s.window->pnMap, kKeys[key],
                         (p.edge ? kCtrl : Qt::NoModifier) | (units == 10 ? kShift : Qt::NoModifier));
         return true;
     },
     [](Model& m, const Pick& p) {
         p.edge ? m.Resize(kHigh, p.dx, kHigh, p.dy, true) : m.MoveBy(m.Moved(), p.dx, p.dy, true);
     }},
    {"arrange", 6,
     [](WindowSoak& s, Pick& p) {
         // A disabled entry does nothing.
         p.at = static_cast<int>(s.Roll(10));
         s.window->arrangeMenu->Action(kArrange[p.at])->trigger();
         return true;
     },
     [](Model& m, const Pick& p) {
         if (!m.ArrangeRefused(p.at) && m.Change(m.Arranged(p.at), m.texts, m.sel, m.sel)) m.Show(m.sel);
     }},
    {"edit the text", 5,
     [](WindowSoak& s, Pick& p) {
         // A text of the code page, one it lacks, one too long, or the text as
         // shown.
         p.text = s.Roll(5) == 0 ? s.model.TextShown() : kTypedTexts[s.Roll(9)];
         QLineEdit* field = s.window->textLine->field();
         const qsizetype boxes = s.platform.errorBoxes.size();
         s.Commit(field, field, p.text, s.Roll(2));
         const bool refused = s.model.TextIdShown() && p.text != s.model.TextShown() && !Model::Stored(p.text);
         s.ExpectErrors(boxes, refused, field);
         return true;
     },
     [](Model& m, const Pick& p) { m.TypeText(p.text); }},
    {"new text", 2,
     [](WindowSoak& s, Pick& p) {
         p.text = s.Roll(3) == 0 ? s.model.TextShown() : kTypedTexts[s.Roll(9)];
         QLineEdit* field = s.window->textLine->field();
         field->setFocus(Qt::MouseFocusReason);
         field->selectAll();
         QTest::keyClick(field, Qt::Key_Backspace);
         Type(field, p.text);
         const qsizetype boxes = s.platform.errorBoxes.size();
         s.window->mmMainNewText->trigger();
         const std::optional<std::int32_t> id = s.model.TextIdShown();
         const bool whole = id && s.model.texts.Find(*id) && p.text == s.model.TextShown();
         s.ExpectErrors(boxes, id && !whole && !Model::Stored(p.text), field);
         return true;
     },
     [](Model& m, const Pick& p) { m.NewText(p.text); }},
    {"undo or redo a few steps", 12,
     [](WindowSoak& s, Pick& p) {
         p.yes = s.Roll(3) == 0;
         p.row = 1 + s.Roll(4);
         for (std::size_t i = 0; i < p.row; ++i)
             (p.yes ? s.window->mmMainRedo : s.window->mmMainUndo)->trigger();
         return true;
     },
     [](Model& m, const Pick& p) {
         for (std::size_t i = 0; i < p.row; ++i) m.Walk(p.yes);
     }},
    {"save", 3,
     [](WindowSoak& s, Pick&) {
         s.window->mmMainSave->trigger();
         // Every save writes exactly the bytes the rules give, of both files.
         EXPECT_EQ(ReadBytes(s.Path("kavel.def")), s.model.Bytes()) << s.where;
         EXPECT_EQ(ReadBytes(s.Path("textdb_en.def")), s.model.texts.Bytes()) << s.where;
         return true;
     },
     [](Model& m, const Pick&) { m.Save(); }},
    {"reload the menu file changed on disk", 1,
     [](WindowSoak& s, Pick& p) {
         do p.bytes = s.RandomMenu();
         while (p.bytes == s.model.Bytes());
         s.platform.yesNoAnswers = {p.yes = !s.model.menuModified() || s.Roll(2)};
         const qsizetype asked = s.platform.questions.size();
         WriteBytes(s.Path("kavel.def"), p.bytes);
         EXPECT_TRUE(Eventually([&] {
             return p.yes ? s.Bytes() == p.bytes : s.platform.questions.size() > asked;
         })) << s.where;
         return true;
     },
     [](Model& m, const Pick& p) {
         // Kept over the file: unsaved until saved, whatever is undone.
         if (!p.yes) return void(m.clean = -1);
         m.LoadRecords(p.bytes);
         m.Select(std::min(m.sel.current, m.records.size() - 1));
     }},
    {"reload the string database changed on disk", 1,
     [](WindowSoak& s, Pick& p) {
         do p.texts = s.RandomTexts();
         while (p.texts == s.model.texts);
         s.platform.yesNoAnswers = {p.yes = !s.model.textsModified() || s.Roll(2)};
         const qsizetype asked = s.platform.questions.size();
         WriteBytes(s.Path("textdb_en.def"), p.texts.Bytes());
         EXPECT_TRUE(Eventually([&] {
             return p.yes ? s.window->document().EncodeTextDb() == p.texts.Bytes()
                          : s.platform.questions.size() > asked;
         })) << s.where;
         return true;
     },
     [](Model& m, const Pick& p) { p.yes ? m.LoadTexts(p.texts) : void(m.textsKept = true); }},
    {"find", 3,
     [](WindowSoak& s, Pick& p) {
         static const char* const kSought[] = {"opt", "GAME", "o",  "butt", "wint",
                                               "3",   "101",  "-1", "zz"};
         p.row = s.model.sel.current;
         s.window->mmMainFind->trigger();
         QTest::keyClicks(s.window->findBar->field(), p.text = kSought[s.Roll(9)]);
         const QLabel* count = s.window->findBar->countLabel();
         EXPECT_TRUE(
             Eventually([&] { return !count->text().isEmpty() && count->text() != "\u2026"; }));
         QTest::keyClick(s.window->findBar->field(), Qt::Key_Escape);
         return true;
     },
     [](Model& m, const Pick& p) {
         // Each letter typed selects the first match from where the bar was
         // opened on, alone; a text that matches nothing leaves the selection.
         for (qsizetype typed = 1; typed <= p.text.size(); ++typed) {
             for (std::size_t k = 0, n = m.records.size(); k < n; ++k) {
                 if (m.Matches(m.records[(p.row + k) % n], p.text.left(typed))) {
                     m.Select((p.row + k) % n);
                     break;
                 }
             }
         }
     }},
};

}  // namespace

// A few fixed seeds, each for a bounded time: about two minutes in all.
TEST_F(WindowSoak, Seed1) {
    Run(1, 25'000, 100'000);
}
TEST_F(WindowSoak, Seed2) {
    Run(2, 25'000, 100'000);
}
TEST_F(WindowSoak, Seed3) {
    Run(3, 25'000, 100'000);
}
TEST_F(WindowSoak, Seed4) {
    Run(4, 25'000, 100'000);
}

// scripts/soak.sh: seed after seed, for as long as asked.
TEST_F(WindowSoak, AsLongAsAsked) {
    const qint64 seconds = qEnvironmentVariableIntValue("KAVEL_SOAK_SECONDS");
    if (seconds <= 0) GTEST_SKIP() << "KAVEL_SOAK_SECONDS is not set";
    bool given = false;
    auto seed = static_cast<std::uint32_t>(qEnvironmentVariable("KAVEL_SOAK_SEED").toUInt(&given));
    if (!given) seed = static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
    const int steps = qEnvironmentVariableIntValue("KAVEL_SOAK_STEPS");
    std::printf("soak: %lld s, from seed %u\n", seconds, seed);
    QElapsedTimer clock;
    clock.start();
    for (; clock.elapsed() < seconds * 1000 && !HasFailure(); ++seed)
        Run(seed, seconds * 1000 - clock.elapsed(), steps > 0 ? steps : 5000);
}
