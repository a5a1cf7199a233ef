// Long random editing runs: the window is driven by a seeded random sequence
// of what users do, and after every step its document is checked against a
// small model of the editing rules, kept here apart from the program: raw
// 36-byte records and the string database's entries, a history of whole
// states, the selected rows with the current one, what the preview shows, and
// each file's unsaved state. Each action is a row of kActions: its name, its
// weight, and what it does in the window, after which it tells the model what
// was done; new commands become new rows.
//
// CI runs a few fixed seeds for a bounded time each; scripts/soak.sh runs
// seed after seed for as long as asked (KAVEL_SOAK_SECONDS, from
// KAVEL_SOAK_SEED on, KAVEL_SOAK_STEPS at most for each). A difference names
// the seed and the step, and the same seed replays the same steps.
#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QtEndian>
#include <bit>
#include <cmath>
#include <functional>
#include <map>
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
static_assert(sizeof(Raw) == 36, "records lie side by side as in the file");
using Records = std::vector<Raw>;
using Rows = std::set<std::size_t>;

constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier, kShift = Qt::ShiftModifier;

std::uint32_t U32(const Raw& r, int at) { return qFromLittleEndian<std::uint32_t>(r.data() + at); }
void SetU32(Raw& r, int at, std::uint32_t value) { qToLittleEndian(value, r.data() + at); }
float F(const Raw& r, int at) { return std::bit_cast<float>(U32(r, at)); }
void SetF(Raw& r, int at, double value) { SetU32(r, at, std::bit_cast<std::uint32_t>(static_cast<float>(value))); }
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
    for (int c = 0; c < 4; ++c) r[static_cast<std::size_t>(7 - c)] = c < shown.size() ? shown[c] : '\0';
}
bool IsWindow(const Raw& r) { return QStringList{"wint", "winc", "wind", "frac", "frmt"}.contains(ShownType(r)); }
// The elements of a captioned window stand below its caption.
double CaptionOf(const Raw& r) { return QStringList{"wint", "frac", "frmt"}.contains(ShownType(r)) ? 42 : 0; }

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
    if (size + grows < std::min(size, 1.0)) units = part == kLow ? size - std::min(size, 1.0) : std::min(size, 1.0) - size;
    if (part == kNone || units == 0.0) return;
    if ((part == kLow) != (scale < 0)) SetF(r, posAt, pos + units);
    SetF(r, posAt + 8, (part == kLow) != (scale < 0) ? scale - units : scale + units);
}

// A text the string database can hold: at most 99 characters of
// Windows-1252, of those typed here ASCII, Latin-1 letters and the euro sign.
std::optional<QByteArray> Stored(const QString& typed) {
    QByteArray bytes;
    for (const QChar c : typed) {
        if (c != u'€' && c.unicode() >= 0x80 && (c.unicode() < 0xA0 || c.unicode() > 0xFF)) return std::nullopt;
        bytes += c == u'€' ? '\x80' : static_cast<char>(c.unicode());
    }
    return typed.size() > 99 ? std::nullopt : std::optional(bytes);
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
        const auto entry = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == id; });
        return entry == entries.end() ? nullptr : &entry->second;
    }
    QByteArray* Find(std::int32_t id) { return const_cast<QByteArray*>(std::as_const(*this).Find(id)); }
};

// A press in the preview: the pixels pressed and released on a picture of
// `size`, the record and the handle there, and the keys held.
struct Press {
    QPoint from, to;
    QSize size;
    std::optional<std::size_t> hit;
    std::optional<preview::Handle> handle;
    Qt::KeyboardModifiers keys;
};

// The selected rows and the current one among them.
struct Selection {
    Rows rows;
    std::size_t current = 0;
};

// How far a group dragged by `units` moves on one axis: with snapping on to
// the line nearest to its bounding box's lower edge, centre or higher edge,
// within reach (of equally near lines the higher, of equally near edges the
// first).
double Snapped(double low, double high, double units, const std::vector<double>& lines, double reach) {
    std::optional<double> offset;
    for (const double edge : {low + units, (low + high) / 2 + units, high + units}) {
        const double line = *std::min_element(lines.begin(), lines.end(), [&](double a, double b) {
            return std::abs(a - edge) < std::abs(b - edge) || (std::abs(a - edge) == std::abs(b - edge) && a > b);
        });
        if (std::abs(line - edge) <= reach && (!offset || std::abs(line - edge) < std::abs(*offset)))
            offset = line - edge;
    }
    return units + offset.value_or(0.0);
}

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
    QByteArray Bytes() const { return QByteArray(records.front().data(), 36 * count()); }
    bool menuModified() const {
        const auto changesRecords = [](const Step& s) { return s.records; };
        return clean < 0 || std::any_of(steps.begin() + std::min(clean, index), steps.begin() + std::max(clean, index), changesRecords);
    }
    bool textsModified() const { return textsKept || textSteps != textSaved; }
    bool modified() const { return menuModified() || textsModified(); }

    // The menu file read (again): a new history; the texts keep their state.
    void LoadRecords(const QByteArray& bytes) {
        records.resize(static_cast<std::size_t>(bytes.size() / 36));
        std::memcpy(records.front().data(), bytes.constData(), records.size() * 36);
        steps.clear();
        index = clean = 0;
        loaded = bytes;
        loadedTexts = texts.Bytes();
    }
    // The string database read (again): a history with text steps starts
    // anew, the menu file keeping its unsaved state.
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
    // The rows given, the current record staying current when among them.
    void SelectKeeping(const Rows& rows) { Show({rows, rows.count(sel.current) ? sel.current : *rows.begin()}); }
    Selection CurrentAlone() const { return {{sel.current}, sel.current}; }
    void Toggle(std::size_t row) {
        if (sel.rows.insert(row).second) return void(sel.current = anchor = row);
        if (sel.rows.size() == 1) return;
        sel.rows.erase(row);
        anchor = row;
        // A current record taken away: the nearest selected before it.
        const auto after = sel.rows.lower_bound(row);
        if (sel.current == row) sel.current = after == sel.rows.begin() ? *after : *std::prev(after);
    }
    void ExtendTo(std::size_t row) {
        anchor = std::min(anchor, records.size() - 1);
        sel = {Span(std::min(anchor, row), std::max(anchor, row) + 1), row};
    }
    void Click(std::size_t row, Qt::KeyboardModifiers keys) {
        keys == kCtrl ? Toggle(row) : keys == kShift ? ExtendTo(row) : Select(row);
    }
    // Up, Down, Home and End move (Shift extending the run), Ctrl+Space adds
    // or removes the current record, Ctrl+A selects every one.
    void ListKey(int key, Qt::KeyboardModifiers keys) {
        if (key == 4) return Toggle(sel.current);
        if (key == 5) return void(sel.rows = Span(0, records.size()));
        const std::size_t now = sel.current, last = records.size() - 1;
        const std::size_t to = key == 0 ? (now == 0 ? 0 : now - 1) : key == 1 ? std::min(now + 1, last) : key == 2 ? 0 : last;
        if (to != now) Click(to, keys);
    }
    bool Agree(int at) const {
        const auto same = [&](std::size_t row) { return U32(records[row], at) == U32(records[*sel.rows.begin()], at); };
        return std::all_of(sel.rows.begin(), sel.rows.end(), same);
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
        const double unitsX = 800.0 / size.width(), unitsY = 600.0 / size.height(), left = ox + F(r, 8), top = oy + F(r, 12);
        const int x1 = static_cast<int>(left / unitsX), x2 = static_cast<int>((left + F(r, 16)) / unitsX);
        const int y1 = static_cast<int>(top / unitsY), y2 = static_cast<int>((top + F(r, 20)) / unitsY);
        return QRect(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1));
    }
    // A click in the preview: a handle or empty space selects nothing, nor
    // does Shift on the window's own box (where a band starts); only what
    // stays in the screen shown joins or leaves the selection.
    void ClickPreview(const Press& p) {
        if (p.handle || !p.hit) return;
        if (!p.keys) return Select(*p.hit);
        if (p.keys == kShift && *p.hit == Shown() && IsWindow(records[*p.hit])) return;
        if (ShownFor(*p.hit) == Shown()) Toggle(*p.hit);
    }
    // A rubber band selects the elements it touches (with a key held, adds
    // them), its frame drawn from the pixel pressed to the one past the pixel
    // released.
    void Band(const Press& p) {
        const std::size_t shown = Shown();
        const QRect band = QRect(p.from, p.to).normalized().adjusted(0, 0, 1, 1);
        Rows touched;
        for (std::size_t row = IsWindow(records[shown]) ? shown + 1 : shown; row < ShownEnd(shown); ++row)
            if (Covered(shown, row, p.size).intersects(band)) touched.insert(row);
        if (p.keys) sel.rows.insert(touched.begin(), touched.end());
        else if (!touched.empty()) SelectKeeping(touched);
    }
    // Ctrl+A there: every element of the screen shown; a window alone is its
    // screen.
    void SelectScreen() {
        const std::size_t shown = Shown(), end = ShownEnd(shown);
        SelectKeeping(Span(end > shown + 1 ? shown + 1 : shown, end));
    }

    // --- Commands. A change is a step unless it leaves both files as they
    // are. Key steps of one kind on the same records in a row merge, unless
    // the first is where the file was saved, and go when they come back to
    // where they started.
    bool Change(Records after, Texts textsAfter, const Selection& undo, const Selection& redo,
                bool changesRecords = true, int merge = 0, const Rows& key = {}) {
        if (after == records && textsAfter == texts) return false;
        const bool changesTexts = textsAfter != texts;
        steps.resize(static_cast<std::size_t>(index));
        if (clean > index) clean = -1;
        Step* last = index > 0 ? &steps.back() : nullptr;
        if (merge != 0 && last && index != clean && last->merge == merge && last->key == key) {
            last->recordsAfter = after;
            if (last->recordsBefore == after) steps.pop_back(), --index;
        } else {
            steps.push_back({records, after, texts, textsAfter, undo, redo, changesRecords, changesTexts, merge, key, ++serial});
            ++index;
            if (changesTexts) textSteps.push_back(serial);
        }
        records = std::move(after);
        texts = std::move(textsAfter);
        return true;
    }
    // Sets what `edit` sets on each of `rows`, as one step (of the kind
    // `merge`); undone and done again, `shown` is selected.
    template <typename Edit>
    bool EditRows(const Rows& rows, Edit edit, int merge = 0, std::optional<Selection> shown = {}) {
        Records after = records;
        for (const std::size_t row : rows) edit(after[row]);
        return Change(after, texts, shown.value_or(sel), shown.value_or(sel), true, merge, rows);
    }
    template <typename Edit>
    bool EditSelected(Edit edit) { return EditRows(sel.rows, edit); }
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

    Records Selected() const {
        Records selected;
        for (const std::size_t row : sel.rows) selected.push_back(records[row]);
        return selected;
    }
    void Copy() {
        copied = Selected();
        clipText.reset();
    }
    // Records inserted at `at` are selected, the one at `current` current.
    void Insert(const Records& inserted, std::size_t at, std::size_t current) {
        Records after = records;
        after.insert(after.begin() + static_cast<std::ptrdiff_t>(at), inserted.begin(), inserted.end());
        const Selection selected = {Span(at, at + inserted.size()), current};
        Change(after, texts, sel, selected);
        Show(selected);
    }
    // Copies right after the last selected record, the copy of the current
    // record current.
    void Duplicate() {
        const std::size_t at = *sel.rows.rbegin() + 1;
        Insert(Selected(), at, at + static_cast<std::size_t>(std::distance(sel.rows.begin(), sel.rows.find(sel.current))));
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
        if (pasted.size() == 1 && EditSelected([&](Raw& r) { r = pasted[0]; })) Show(sel);
        else if (pasted.size() > 1) Insert(pasted, sel.current + 1, sel.current + 1);
    }
    // A move takes every selected record, except the elements of a selected
    // window: they go with it.
    Rows Moved() const {
        Rows moved;
        for (const std::size_t row : sel.rows)
            if (const auto window = WindowOf(row); !window || *window == row || !sel.rows.count(*window)) moved.insert(row);
        return moved;
    }
    void MoveBy(const Rows& moved, double dx, double dy, bool byKey) {
        EditRows(moved, [&](Raw& r) { SetF(r, 8, F(r, 8) + dx); SetF(r, 12, F(r, 12) + dy); }, byKey ? 1 : 0);
    }
    // Handles and Ctrl+arrows resize the current record alone; undone, it is
    // selected alone.
    void Resize(Part x, double dx, Part y, double dy, bool byKey) {
        EditRows({sel.current}, [&](Raw& r) { Pull(r, 8, x, dx); Pull(r, 12, y, dy); }, byKey ? 2 : 0, CurrentAlone());
    }
    // A drag by `by` pixels of a picture of p.size: a handle pulls its edges
    // of the current record; otherwise the press selects the record in place
    // (one of several selected becomes current) and the drag takes the
    // selection along, a record that would show another screen once selected
    // alone. Unless `free`, snapping takes the bounding box of what moves of
    // the screen shown to the edges and centres of the other boxes drawn
    // (none while its window moves) and of the screen itself.
    void Drag(const Press& p, bool free) {
        const QPoint by = p.to - p.from;
        const double ux = std::round(by.x() * 800.0 / p.size.width());
        const double uy = std::round(by.y() * 600.0 / p.size.height());
        using H = preview::Handle;
        static const std::map<H, std::pair<Part, Part>> kPulled = {
            {H::TopLeft, {kLow, kLow}},     {H::Top, {kNone, kLow}},         {H::TopRight, {kHigh, kLow}},
            {H::Right, {kHigh, kNone}},     {H::BottomRight, {kHigh, kHigh}}, {H::Bottom, {kNone, kHigh}},
            {H::BottomLeft, {kLow, kHigh}}, {H::Left, {kLow, kNone}}};
        if (p.handle) return Resize(kPulled.at(*p.handle).first, ux, kPulled.at(*p.handle).second, uy, false);
        Rows moved = {*p.hit};
        if (ShownFor(*p.hit) == Shown()) {
            if (!sel.rows.count(*p.hit)) Select(*p.hit);
            else if (sel.current != *p.hit) Show({sel.rows, *p.hit});
            moved = Moved();
        }
        const std::size_t shown = Shown();
        double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
        std::vector<double> xs = {0, 400, 800}, ys = {0, 300, 600};
        const bool windowMoves = moved.count(shown) && IsWindow(records[shown]);
        for (std::size_t row = shown; row < ShownEnd(shown); ++row) {
            const auto [ox, oy] = Origin(shown, row);
            const auto x = Edges(records[row], 8, ox), y = Edges(records[row], 12, oy);
            if (moved.count(row)) {
                left = std::min(left, x.first), right = std::max(right, x.second);
                top = std::min(top, y.first), bottom = std::max(bottom, y.second);
            } else if (!windowMoves && F(records[row], 16) != 0 && F(records[row], 20) != 0) {
                xs.insert(xs.end(), {x.first, (x.first + x.second) / 2, x.second});
                ys.insert(ys.end(), {y.first, (y.first + y.second) / 2, y.second});
            }
        }
        if (left == INFINITY) return;  // nothing of the screen shown moves
        const double dx = free ? ux : Snapped(left, right, ux, xs, 4 * 800.0 / p.size.width());
        const double dy = free ? uy : Snapped(top, bottom, uy, ys, 4 * 600.0 / p.size.height());
        if (dx != 0 || dy != 0) MoveBy(moved, dx, dy, false);
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
    void Arrange(int kind) {
        if (ArrangeRefused(kind)) return;
        Records after = records;
        const int at = kind == 8 ? 16 : kind == 9 ? 20 : kind == 0 || kind == 1 || kind == 4 || kind == 6 ? 8 : 12;
        std::vector<std::size_t> rows(sel.rows.begin(), sel.rows.end());
        const auto edges = [&](std::size_t row) { return Edges(records[row], at); };
        const auto moveBy = [&](std::size_t row, double by) { SetF(after[row], at, F(records[row], at) + by); };
        if (kind >= 8) {
            // The width or the height of the current record.
            for (const std::size_t row : rows) SetU32(after[row], at, U32(records[sel.current], at));
        } else if (kind < 6) {
            // To the outermost edge, or to the centre of the bounding box.
            const int side = kind < 4 ? (kind % 2 == 0 ? -1 : 1) : 0;
            const auto place = [&](std::pair<double, double> e) {
                return side < 0 ? e.first : side > 0 ? e.second : (e.first + e.second) / 2;
            };
            double low = INFINITY, high = -INFINITY;
            for (const std::size_t row : rows) low = std::min(low, edges(row).first), high = std::max(high, edges(row).second);
            for (const std::size_t row : rows) moveBy(row, place({low, high}) - place(edges(row)));
        } else {
            // Equal gaps between the outermost two, in the order of the boxes'
            // lower edges; each box on its place rounded from the first one's
            // far edge, so that no error adds up.
            std::stable_sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) { return edges(a).first < edges(b).first; });
            const auto first = edges(rows.front()), last = edges(rows.back());
            double widths = 0, before = 0;
            for (std::size_t k = 1; k + 1 < rows.size(); ++k) widths += edges(rows[k]).second - edges(rows[k]).first;
            const double gap = (last.first - first.second - widths) / static_cast<double>(rows.size() - 1);
            for (std::size_t k = 1; k + 1 < rows.size(); ++k) {
                const auto [l, h] = edges(rows[k]);
                moveBy(rows[k], first.second + before + std::round(static_cast<double>(k) * gap) - l);
                before += h - l;
            }
        }
        if (Change(after, texts, sel, sel)) Show(sel);
    }

    // --- The Text line shows the text of the current record where every
    // selected record has its textId, and takes nothing typed otherwise.
    std::optional<std::int32_t> TextIdShown() const {
        return Agree(24) ? std::optional(static_cast<std::int32_t>(U32(records[sel.current], 24))) : std::nullopt;
    }
    QString TextShown() const {
        const std::optional<std::int32_t> id = TextIdShown();
        const QByteArray* entry = id ? texts.Find(*id) : nullptr;
        return entry ? TextOf(entry->left(99)) : QString();
    }
    // Taken over: the text of the record's entry, or a new entry with its
    // textId when it has none; a text left as shown changes nothing. True
    // when the text is refused.
    bool TypeText(const QString& typed) {
        const std::optional<std::int32_t> id = TextIdShown();
        const std::optional<QByteArray> stored = Stored(typed);
        if (!id || typed == TextShown()) return false;
        if (!stored) return true;
        Texts after = texts;
        if (QByteArray* entry = after.Find(*id)) *entry = *stored;
        else if (!stored->isEmpty()) after.entries.push_back({*id, *stored});
        Change(records, after, CurrentAlone(), CurrentAlone(), false);
        return false;
    }
    // New Text: the current record gets the identifier after the largest and
    // an entry with the typed text (the whole text of its entry when left as
    // shown). True when the text is refused.
    bool NewText(const QString& typed) {
        const std::optional<std::int32_t> id = TextIdShown();
        if (!id) return false;
        const QByteArray* entry = texts.Find(*id);
        const std::optional<QByteArray> text = entry && typed == TextShown() ? *entry : Stored(typed);
        if (!text) return true;
        std::int32_t largest = 0;
        for (const auto& [other, unused] : texts.entries) largest = std::max(largest, other);
        Texts after = texts;
        after.entries.push_back({largest + 1, *text});
        Records withId = records;
        SetU32(withId[sel.current], 24, static_cast<std::uint32_t>(largest + 1));
        Change(withId, after, CurrentAlone(), CurrentAlone());
        return false;
    }

    // Found: a text holding what was typed in any case, the very type code,
    // or the number as the id or the text id.
    bool Matches(const Raw& r, const QString& typed) const {
        const QByteArray* text = texts.Find(static_cast<std::int32_t>(U32(r, 24)));
        if (text && TextOf(text->left(99)).toCaseFolded().contains(typed.toCaseFolded())) return true;
        bool number = false;
        const auto value = static_cast<std::uint32_t>(typed.toInt(&number, 10));
        return ShownType(r) == typed || (number && (U32(r, 0) == value || U32(r, 24) == value));
    }
    // Each letter typed in the find bar selects the first match from where
    // the bar was opened on, alone; a text that matches nothing leaves the
    // selection.
    void Find(const QString& sought) {
        const std::size_t from = sel.current, n = records.size();
        for (qsizetype typed = 1; typed <= sought.size(); ++typed) {
            for (std::size_t k = 0; k < n; ++k) {
                if (Matches(records[(from + k) % n], sought.left(typed))) {
                    Select((from + k) % n);
                    break;
                }
            }
        }
    }
};

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

constexpr int kFieldAt[] = {0, 8, 12, 16, 20, 24, 28, 32};
const QString kTypedTexts[] = {"Start game", "Neues Spiel", "Optionen für Töne", "Preis: 5 €",
                               "GAME OVER", "", "Ā", "→ weiter", QString(100, u'x')};

class WindowSoak : public WindowTest {
  protected:
    struct Action {
        const char* name;
        int weight;
        void (*run)(WindowSoak&);
    };
    static const std::vector<Action> kActions;

    void Run(std::uint32_t seed, qint64 milliseconds, int maxSteps) {
        random.seed(seed);
        const Texts texts = {QByteArray(4, '\0'), {{1, "Start game"}, {2, "Options"}, {3, "Quit"}, {4, "Sound Volume"}}};
        WriteBytes(Path("textdb_en.def"), texts.Bytes());
        const QByteArray bytes = RandomMenu();
        WriteBytes(Path("kavel.def"), bytes);
        platform.saveChangesAnswers = {SaveAnswer::Discard};
        OpenFiles(Path("kavel.def"), Path("textdb_en.def"));
        model.LoadTexts(texts);
        model.LoadRecords(bytes);
        model.Select(0);

        QElapsedTimer clock;
        clock.start();
        int total = 0, step = 0;
        for (const Action& action : kActions) total += action.weight;
        for (; step < maxSteps && clock.elapsed() < milliseconds; ++step) {
            int pick = static_cast<int>(Roll(static_cast<std::uint32_t>(total)));
            const Action* action = &kActions[0];
            while (pick >= action->weight) pick -= (action++)->weight;
            SCOPED_TRACE(QString("seed %1, step %2 (%3)").arg(seed).arg(step).arg(action->name).toStdString());
            // What the window asks and tells is looked at step by step.
            platform.errorBoxes.clear(), platform.messageBoxes.clear(), platform.questions.clear();
            skipped = false;
            action->run(*this);
            if (skipped) continue;
            Check();
            if (HasFatalFailure()) return;
        }
        // The history leads back to what was loaded and forward to its end,
        // and the recovery file holds the unsaved work while there is any.
        SCOPED_TRACE(QString("seed %1, after %2 steps").arg(seed).arg(step).toStdString());
        while (model.index < static_cast<int>(model.steps.size())) model.Walk(true);
        while (window->mmMainUndo->isEnabled()) window->mmMainUndo->trigger();
        EXPECT_EQ(Bytes(), model.loaded);
        EXPECT_EQ(TextDbBytes(), model.loadedTexts);
        while (window->mmMainRedo->isEnabled()) window->mmMainRedo->trigger();
        EXPECT_EQ(Bytes(), model.Bytes());
        EXPECT_EQ(TextDbBytes(), model.texts.Bytes());
        RecoveryJournal& journal = window->recoveryJournal();
        journal.StartCopy();
        const auto textsCopied = model.textsModified() ? std::optional(model.texts.Bytes()) : std::nullopt;
        ASSERT_TRUE(Eventually([&] {
            const RecoveryCopy copy = ReadRecoveryFile(journal.copyPath()).copy;
            const QByteArray records = EncodeMenuItems(copy.records);
            return !journal.writing() && (model.modified() ? records == Bytes() && copy.textDbBytes == textsCopied
                                                           : records.isEmpty());
        }));
        std::printf("soak: seed %u, %d steps\n", seed, step);
        std::fflush(stdout);
    }

    void Check() {
        ASSERT_EQ(Bytes(), model.Bytes());
        ASSERT_EQ(TextDbBytes(), model.texts.Bytes());
        ASSERT_EQ(window->lbMIcount2->text().toInt(), model.count());
        const QAbstractItemModel& list = *window->lbMain->model();
        ASSERT_EQ(list.rowCount(), model.count());
        for (int row = 0; row < model.count(); ++row)
            ASSERT_EQ(list.index(row, 0).data().toString(), QString::number(row) + "   " + ShownType(model.records[row]));
        // One selection in the list and the preview, never empty, the current
        // record among it; the preview shows the current record's screen and
        // frames what of it is selected.
        std::vector<std::size_t> selected;
        window->selection().rows().ForEach([&](std::size_t row) { selected.push_back(row); });
        ASSERT_EQ(selected, std::vector(model.sel.rows.begin(), model.sel.rows.end()));
        ASSERT_EQ(window->selection().current(), model.sel.current);
        ASSERT_EQ(window->lbMain->currentIndex().row(), static_cast<int>(model.sel.current));
        const QSize size = window->pnMap->drawnSize();
        const std::size_t shown = model.Shown();
        std::vector<QRect> others;
        for (std::size_t row = shown; row < model.ShownEnd(shown); ++row)
            if (model.sel.rows.count(row) && row != model.sel.current) others.push_back(model.Covered(shown, row, size));
        const PreviewMarks& marks = window->pnMap->marks();
        ASSERT_TRUE(marks.box);
        ASSERT_EQ(*marks.box, model.Covered(shown, model.sel.current, size));
        ASSERT_EQ(marks.selected, others);
        // Each file's unsaved state, in the title too.
        const bool menu = model.menuModified(), texts = model.textsModified();
        ASSERT_EQ(window->document().menuFileModified(), menu);
        ASSERT_EQ(window->document().textDbModified(), texts);
        const auto mark = [](bool unsaved) { return unsaved ? "*" : ""; };
        ASSERT_EQ(window->windowTitle(), QString("Kavel.def Editor v1.00%1 [%2]%3 [%4]%5")
                                             .arg(mark(menu || texts), Path("kavel.def"), mark(menu), Path("textdb_en.def"), mark(texts)));
        ASSERT_EQ(window->mmMainUndo->isEnabled(), model.index > 0);
        ASSERT_EQ(window->mmMainRedo->isEnabled(), model.index < int(model.steps.size()));
        ASSERT_EQ(window->mmMainPaste->isEnabled(), !model.copied.empty() || model.clipText);
        for (int kind = 0; kind < 10; ++kind)
            ASSERT_EQ(window->arrangeMenu->Action(arrange::kArrangements[kind])->isEnabled(), !model.ArrangeRefused(kind)) << "entry " << kind;
    }

    QByteArray Bytes() const { return EncodeMenuItems(window->menuItems()); }
    QByteArray TextDbBytes() const { return window->document().EncodeTextDb().value_or("none"); }
    std::uint32_t Roll(std::uint32_t below) { return static_cast<std::uint32_t>(random() % below); }
    std::size_t RollRow() { return Roll(model.count()); }
    // The action does not apply now: nothing was done, nothing is checked.
    void Skip() { skipped = true; }

    // Windows and elements on the screen, some of them loading pictures.
    QByteArray RandomMenu() {
        static const char* const kCodes[] = {"wint", "butt", "stxt", "edit", "wind", "list", "rcta", "frac"};
        QByteArray bytes;
        for (std::uint32_t i = 0, count = 3 + Roll(10); i < count; ++i) {
            Raw r{};
            SetType(r, kCodes[i == 0 ? 0 : Roll(8)]);
            const bool window = IsWindow(r);
            SetU32(r, 0, Roll(4) == 0 ? 100 + Roll(3) : Roll(9));
            SetF(r, 8, Roll(window ? 300 : 500));
            SetF(r, 12, Roll(window ? 200 : 400) + 0.5);
            SetF(r, 16, window ? 200 + Roll(400) : 1 + Roll(200));
            SetF(r, 20, window ? 150 + Roll(300) : 1 + Roll(80));
            SetU32(r, 24, Roll(6));
            for (const int at : {28, 32}) SetU32(r, at, Roll(0xFFFFFFFF));
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

    // Types into a field in place of what it held, as keys do (characters
    // beyond ASCII as text alone).
    static void Retype(QWidget* field, QLineEdit* edit, const QString& text) {
        field->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        for (const QChar c : text) {
            if (c.unicode() < 0x80) QTest::keyClick(field, c.toLatin1());
            else for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(type, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(field, &key);
            }
        }
    }
    // Types into a field, then leaves it by Tab or takes it with Enter.
    static void Commit(QWidget* field, QLineEdit* edit, const QString& text, bool enter) {
        Retype(field, edit, text);
        QTest::keyClick(field, enter ? Qt::Key_Return : Qt::Key_Tab);
    }
    QLineEdit* Field(int field) const {
        return std::array{window->edID,     window->edPosX,   window->edPosY, window->edScaleX,
                          window->edScaleY, window->edTextdb, window->edFont, window->edColor}[field];
    }
    // Expects the window to have shown `boxes` error boxes in this step; a
    // field that refused its text is put back as stored.
    void ExpectErrors(qsizetype boxes, QWidget* refusing = nullptr) {
        Settle();
        EXPECT_EQ(platform.errorBoxes.size(), boxes) << platform.errorBoxes.join(u'\n').toStdString();
        if (boxes > 0 && refusing) QTest::keyClick(refusing, Qt::Key_Escape);
    }
    // A file changed on disk is read again, or kept when answered so (asked
    // only when it has unsaved changes here). True when read again.
    bool ChangeOnDisk(const QString& name, const QByteArray& bytes, bool unsaved, const std::function<bool()>& readAgain) {
        const bool yes = !unsaved || Roll(2);
        platform.yesNoAnswers = {yes};
        WriteBytes(Path(name), bytes);
        EXPECT_TRUE(Eventually([&] { return yes ? readAgain() : !platform.questions.isEmpty(); }));
        return yes;
    }

    // The preview, in the pixels of its picture.
    QPoint RandomPoint() {
        const QSize size = window->pnMap->drawnSize();
        return {static_cast<int>(Roll(size.width())), static_cast<int>(Roll(size.height()))};
    }
    Qt::KeyboardModifiers RollKeys() { return QList<Qt::KeyboardModifiers>{{}, kCtrl, kShift}[Roll(3)]; }
    // A press there, and what the user sees where: the record on top, a
    // handle of the current one.
    Press Aim(QPoint from, Qt::KeyboardModifiers keys = {}, QPoint to = {}) {
        const PreviewPanel& panel = *window->pnMap;
        const QSize size = panel.drawnSize();
        const PreviewMarks& marks = panel.marks();
        return {from, to, size, preview::RecordAt(window->menuItems(), model.Shown(), from, size.width(), size.height()),
                marks.box && marks.handles ? preview::HandleAt(*marks.box, from) : std::nullopt, keys};
    }
    void Mouse(QTest::MouseAction action, QPoint at, Qt::KeyboardModifiers keys) {
        const Qt::MouseButton button = action == QTest::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QTest::mouseEvent(action, window->pnMap->viewport(), button, keys, window->pnMap->view().ToArea(at));
    }
    // A drag from p.from to p.to: the press with p.keys, the rest with `keys`.
    void Drag(const Press& p, Qt::KeyboardModifiers keys) {
        Mouse(QTest::MousePress, p.from, p.keys);
        Mouse(QTest::MouseMove, p.to, keys);
        Mouse(QTest::MouseRelease, p.to, keys);
    }
    static bool TooShortToDrag(QPoint by) {
        return std::max(std::abs(by.x()), std::abs(by.y())) < PreviewPlacing::kDragStartPixels;
    }

    std::mt19937 random;
    Model model;
    bool skipped = false;
};

const std::vector<WindowSoak::Action> WindowSoak::kActions = {
    {"click a row, with Ctrl or Shift", 12, [](WindowSoak& s) {
         const std::size_t row = s.RollRow();
         const Qt::KeyboardModifiers keys = QList<Qt::KeyboardModifiers>{{}, {}, kCtrl, kShift}[s.Roll(4)];
         s.ClickRow(static_cast<int>(row), keys);
         s.model.Click(row, keys);
     }},
    {"keys in the list", 6, [](WindowSoak& s) {
         static const Qt::Key kKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End, Qt::Key_Space, Qt::Key_A};
         const int key = static_cast<int>(s.Roll(6));
         const Qt::KeyboardModifiers keys = key >= 4 ? kCtrl : s.Roll(3) ? kShift : Qt::NoModifier;
         s.window->lbMain->setFocus(Qt::MouseFocusReason);
         QTest::keyClick(s.window->lbMain, kKeys[key], keys);
         s.model.ListKey(key, keys);
     }},
    {"click in the preview, with Ctrl or Shift", 6, [](WindowSoak& s) {
         const QPoint from = s.RandomPoint();
         const Press p = s.Aim(from, s.RollKeys());
         s.Mouse(QTest::MousePress, p.from, p.keys);
         s.Mouse(QTest::MouseRelease, p.from, p.keys);
         s.model.ClickPreview(p);
     }},
    {"rubber band in the preview", 4, [](WindowSoak& s) {
         // From empty space, or with Shift from the window's own box.
         const QPoint from = s.RandomPoint(), to = s.RandomPoint();
         Press p = s.Aim(from, s.RollKeys(), to);
         const bool onWindow = p.hit && *p.hit == s.model.Shown() && IsWindow(s.model.records[*p.hit]);
         if (onWindow) p.keys = kShift;
         if (p.handle || (p.hit && !onWindow) || TooShortToDrag(p.to - p.from)) return s.Skip();
         s.Drag(p, p.keys);
         s.model.Band(p);
     }},
    {"Ctrl+A in the preview", 2, [](WindowSoak& s) {
         s.window->pnMap->setFocus(Qt::MouseFocusReason);
         QTest::keyClick(s.window->pnMap, Qt::Key_A, kCtrl);
         s.model.SelectScreen();
     }},
    {"show elements by themselves, or in their window", 1, [](WindowSoak& s) {
         s.window->viewOptions->elementsAloneAction()->trigger();
         s.model.alone = !s.model.alone;
     }},
    {"commit a field", 12, [](WindowSoak& s) {
         // Quarters from -800 to 800 for a position or a size, any bits else.
         const int field = static_cast<int>(s.Roll(8));
         const bool number = field >= 1 && field <= 4;
         const double value = number ? static_cast<int>(s.Roll(1601)) - 800 + s.Roll(4) / 4.0 : 0;
         const auto bits = number ? std::bit_cast<std::uint32_t>(static_cast<float>(value)) : static_cast<std::uint32_t>(s.random());
         const QString text = number     ? QString::number(value, 'g', 9)
                              : s.Roll(2) ? QString::number(static_cast<std::int32_t>(bits))
                                          : "0x" + QString::number(bits, 16);
         s.Commit(s.Field(field), s.Field(field), text, s.Roll(2));
         s.model.EditSelected([&](Raw& r) { SetU32(r, kFieldAt[field], bits); });
     }},
    {"commit a faulty field", 3, [](WindowSoak& s) {
         static const char* const kFaulty[] = {"", "abc", "1,5", "0x", "1.2.3", "1e99999", "--3"};
         const int field = static_cast<int>(s.Roll(8));
         const QString text = kFaulty[s.Roll(7)];
         s.Commit(s.Field(field), s.Field(field), text, true);
         // A field the selected records differ in shows empty: left empty, it
         // changes none of them.
         s.ExpectErrors(!text.isEmpty() || s.model.Agree(kFieldAt[field]), s.Field(field));
     }},
    {"change the type", 5, [](WindowSoak& s) {
         static const char* const kTyped[] = {"butt", "wint", "stxt", "Zq9!", "ab", "scrl", "rcta"};
         QComboBox* box = s.window->cbType;
         QString typed;
         if (s.Roll(3) == 0) {
             box->setFocus(Qt::MouseFocusReason);
             box->setCurrentIndex(static_cast<int>(s.Roll(static_cast<std::uint32_t>(box->count()))));
             typed = box->currentText();
             QTest::keyClick(box, Qt::Key_Return);
         } else {
             s.Commit(box, box->lineEdit(), typed = kTyped[s.Roll(7)], s.Roll(2));
         }
         // An empty box, or one left as it showed, changes nothing.
         const QString shown = s.model.Agree(4) ? ShownType(s.model.records[s.model.sel.current]) : QString();
         if (!typed.isEmpty() && typed != shown) s.model.EditSelected([&](Raw& r) { SetType(r, typed.left(4).toLatin1()); });
     }},
    {"duplicate", 5, [](WindowSoak& s) {
         if (s.model.count() + s.model.sel.rows.size() > 48) return s.Skip();
         s.window->mmMainInsert->trigger();
         s.model.Duplicate();
     }},
    {"delete", 5, [](WindowSoak& s) {
         const bool yes = s.Roll(4) != 0;
         s.platform.yesNoAnswers = {yes};
         s.window->mmMainDelete->trigger();
         // A document keeps a record: deleting every one is refused unasked.
         const std::size_t n = s.model.sel.rows.size();
         if (n == s.model.records.size()) {
             EXPECT_EQ(s.platform.messageBoxes, QStringList{"Kavel.def Editor: Menu item must be at least 1!"});
             EXPECT_TRUE(s.platform.questions.isEmpty());
             return;
         }
         EXPECT_EQ(s.platform.questions, QStringList{n == 1 ? QString("Kavel.def Editor: Delete menu item?")
                                                           : QString("Kavel.def Editor: Delete %1 menu items?").arg(n)});
         if (yes) s.model.Delete();
     }},
    {"copy", 4, [](WindowSoak& s) {
         s.window->mmMainCopy->trigger();
         s.model.Copy();
     }},
    {"paste", 5, [](WindowSoak& s) {
         if (s.model.count() + s.model.copied.size() > 48) return s.Skip();
         s.window->mmMainPaste->trigger();
         s.ExpectErrors(s.model.clipText && !*s.model.clipText);
         s.model.Paste();
     }},
    {"paste a dump from the clipboard", 3, [](WindowSoak& s) {
         const std::size_t count = s.Roll(3) == 0 ? 1 : 2 + s.Roll(3);
         if (s.model.count() + count > 48) return s.Skip();
         // Records of the document, some moved; exact bits, or values as
         // shown (which keep no bytes hidden behind a type's NUL).
         const bool bits = s.Roll(2);
         Records records;
         for (std::size_t i = 0; i < count; ++i) {
             Raw r = s.model.records[s.RollRow()];
             SetF(r, 8, F(r, 8) + s.Roll(50));
             if (!bits) SetType(r, ShownType(r).toLatin1());
             records.push_back(r);
         }
         QByteArray text = DumpOf(records, bits);
         // Now and then a number that is none, a column no dump has, or no
         // record at all: each is refused.
         const std::uint32_t fault = s.Roll(8);
         if (fault == 0) text.insert(text.size() - 1, 'x');
         if (fault == 1) text.replace("textId", "textID");
         if (fault == 2) text.truncate(text.indexOf('\n') + 1);
         QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
         s.window->mmMainPaste->trigger();
         s.ExpectErrors(fault <= 2);
         s.model.clipText = fault <= 2 ? std::optional<Records>() : records;
         s.model.Paste();
     }},
    {"drag in the preview", 10, [](WindowSoak& s) {
         // The user takes hold of a handle of the current record or of the
         // record on top where the pointer is; handles are pulled freely, a
         // record moved with Alt freely, otherwise snapping.
         Press p = s.Aim(s.RandomPoint());
         if (!p.hit && !p.handle) return s.Skip();
         const QPoint by(static_cast<int>(s.Roll(121)) - 60, static_cast<int>(s.Roll(121)) - 60);
         if (TooShortToDrag(by)) return s.Skip();
         p.to = p.from + by;
         const bool free = p.handle || s.Roll(2);
         s.Drag(p, free ? Qt::AltModifier : Qt::NoModifier);
         s.model.Drag(p, free);
     }},
    {"nudge or resize by keys", 10, [](WindowSoak& s) {
         static const Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
         const std::uint32_t key = s.Roll(4);
         const double units = s.Roll(3) == 0 ? 10 : 1;
         const bool edge = s.Roll(3) == 0;
         QTest::keyClick(s.window->pnMap, kKeys[key],
                         (edge ? kCtrl : Qt::NoModifier) | (units == 10 ? kShift : Qt::NoModifier));
         const double dx = key == 0 ? -units : key == 1 ? units : 0, dy = key == 2 ? -units : key == 3 ? units : 0;
         edge ? s.model.Resize(kHigh, dx, kHigh, dy, true) : s.model.MoveBy(s.model.Moved(), dx, dy, true);
     }},
    {"arrange", 6, [](WindowSoak& s) {
         // A disabled entry does nothing.
         const int kind = static_cast<int>(s.Roll(10));
         s.window->arrangeMenu->Action(arrange::kArrangements[kind])->trigger();
         s.model.Arrange(kind);
     }},
    {"edit the text", 5, [](WindowSoak& s) {
         // A text of the code page, one it lacks, one too long, or the text as
         // shown.
         const QString text = s.Roll(5) == 0 ? s.model.TextShown() : kTypedTexts[s.Roll(9)];
         QLineEdit* field = s.window->textLine->field();
         s.Commit(field, field, text, s.Roll(2));
         s.ExpectErrors(s.model.TypeText(text), field);
     }},
    {"new text", 2, [](WindowSoak& s) {
         const QString text = s.Roll(3) == 0 ? s.model.TextShown() : kTypedTexts[s.Roll(9)];
         QLineEdit* field = s.window->textLine->field();
         Retype(field, field, text);
         s.window->mmMainNewText->trigger();
         s.ExpectErrors(s.model.NewText(text), field);
     }},
    {"undo or redo a few steps", 12, [](WindowSoak& s) {
         const bool redo = s.Roll(3) == 0;
         for (std::uint32_t i = 0, n = 1 + s.Roll(4); i < n; ++i) {
             (redo ? s.window->mmMainRedo : s.window->mmMainUndo)->trigger();
             s.model.Walk(redo);
         }
     }},
    {"save", 3, [](WindowSoak& s) {
         s.window->mmMainSave->trigger();
         // Every save writes exactly the bytes the rules give, of both files.
         EXPECT_EQ(ReadBytes(s.Path("kavel.def")), s.model.Bytes());
         EXPECT_EQ(ReadBytes(s.Path("textdb_en.def")), s.model.texts.Bytes());
         s.model.Save();
     }},
    {"reload the menu file changed on disk", 1, [](WindowSoak& s) {
         QByteArray bytes;
         do bytes = s.RandomMenu();
         while (bytes == s.model.Bytes());
         // Kept over the file: unsaved until saved, whatever is undone.
         if (!s.ChangeOnDisk("kavel.def", bytes, s.model.menuModified(), [&] { return s.Bytes() == bytes; }))
             return void(s.model.clean = -1);
         s.model.LoadRecords(bytes);
         s.model.Select(std::min(s.model.sel.current, s.model.records.size() - 1));
     }},
    {"reload the string database changed on disk", 1, [](WindowSoak& s) {
         Texts texts;
         do texts = s.RandomTexts();
         while (texts == s.model.texts);
         const bool read = s.ChangeOnDisk("textdb_en.def", texts.Bytes(), s.model.textsModified(),
                                          [&] { return s.TextDbBytes() == texts.Bytes(); });
         read ? s.model.LoadTexts(texts) : void(s.model.textsKept = true);
     }},
    {"find", 3, [](WindowSoak& s) {
         static const char* const kSought[] = {"opt", "GAME", "o", "butt", "wint", "3", "101", "-1", "zz"};
         s.window->mmMainFind->trigger();
         const QString sought = kSought[s.Roll(9)];
         QTest::keyClicks(s.window->findBar->field(), sought);
         const QLabel* count = s.window->findBar->countLabel();
         EXPECT_TRUE(Eventually([&] { return !count->text().isEmpty() && count->text() != "\u2026"; }));
         QTest::keyClick(s.window->findBar->field(), Qt::Key_Escape);
         s.model.Find(sought);
     }},
};

}  // namespace

// A few fixed seeds, each for a bounded time: about two minutes in all.
TEST_F(WindowSoak, Seed1) { Run(1, 25'000, 100'000); }
TEST_F(WindowSoak, Seed2) { Run(2, 25'000, 100'000); }
TEST_F(WindowSoak, Seed3) { Run(3, 25'000, 100'000); }
TEST_F(WindowSoak, Seed4) { Run(4, 25'000, 100'000); }

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
