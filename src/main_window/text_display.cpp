// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/text_display.h"

#include "main_window/text_display_accessible.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

constexpr int kLeftMargin = 4;
constexpr int kTopMargin = 2;
// Long lines keep an x every so many characters, so reaching any column costs at most this.
constexpr qsizetype kChunk = 4096;
// Lines up to this length are measured exactly when shown, to widen the scroll range.
constexpr qsizetype kMeasureCap = 20000;
constexpr char16_t kReplacement = u'\uFFFD';

bool isControl(char16_t c)
{
    // Line and paragraph separators would break the line inside drawText.
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029;
}

// Whether any of four characters is at most CR, tested at once: most are not.
constexpr qsizetype kBlock = 4;
bool mayBreakLine(const char16_t* block)
{
    quint64 lanes;
    std::memcpy(&lanes, block, sizeof lanes);
    return ((lanes - 0x000E'000E'000E'000EULL) & ~lanes & 0x8000'8000'8000'8000ULL) != 0;
}

const QKeySequence::StandardKey kNavigationKeys[] = {
    QKeySequence::MoveToNextChar,
    QKeySequence::SelectNextChar,
    QKeySequence::MoveToPreviousChar,
    QKeySequence::SelectPreviousChar,
    QKeySequence::MoveToNextWord,
    QKeySequence::SelectNextWord,
    QKeySequence::MoveToPreviousWord,
    QKeySequence::SelectPreviousWord,
    QKeySequence::MoveToNextLine,
    QKeySequence::SelectNextLine,
    QKeySequence::MoveToPreviousLine,
    QKeySequence::SelectPreviousLine,
    QKeySequence::MoveToNextPage,
    QKeySequence::SelectNextPage,
    QKeySequence::MoveToPreviousPage,
    QKeySequence::SelectPreviousPage,
    QKeySequence::MoveToStartOfLine,
    QKeySequence::SelectStartOfLine,
    QKeySequence::MoveToEndOfLine,
    QKeySequence::SelectEndOfLine,
    QKeySequence::MoveToStartOfDocument,
    QKeySequence::SelectStartOfDocument,
    QKeySequence::MoveToEndOfDocument,
    QKeySequence::SelectEndOfDocument,
    QKeySequence::SelectAll,
    QKeySequence::Copy,
};

} // namespace

TextDisplay::TextDisplay(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    installTextDisplayAccessibility();
    lineStarts_.push_back(0);
    updateMetrics();
    updateScrollBars();
}

void TextDisplay::setText(const QString& text)
{
    text_ = text; // shared, not copied
    std::vector<qsizetype> starts;
    starts.reserve(size_t(text_.size() / 40 + 1));
    starts.push_back(0);
    // constData(): utf16() would copy a string made from raw data.
    const auto* chars = reinterpret_cast<const char16_t*>(text_.constData());
    const qsizetype size = text_.size();
    qsizetype longest = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (i + kBlock <= size && !mayBreakLine(chars + i)) {
            i += kBlock - 1;
            continue;
        }
        const char16_t c = chars[i];
        if (c > u'\r' || (c != u'\r' && c != u'\n'))
            continue;
        longest = std::max(longest, i - starts.back());
        if (c == u'\r' && i + 1 < size && chars[i + 1] == u'\n')
            ++i;
        starts.push_back(i + 1);
    }
    longest = std::max(longest, size - starts.back());
    lineStarts_.swap(starts);
    longestLine_ = longest;
    anchor_ = caret_ = 0;
    goalX_ = -1;
    checkpoints_.clear();
    measuredWidth_ = 0;
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

QStringView TextDisplay::lineAt(qsizetype line) const
{
    if (line < 0 || line >= lineCount())
        return {};
    const qsizetype start = lineStarts_[size_t(line)];
    return QStringView(text_).mid(start, lineEnd(line) - start);
}

qsizetype TextDisplay::lineOf(qsizetype position) const
{
    return qsizetype(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position)
                     - lineStarts_.begin())
        - 1;
}

qsizetype TextDisplay::lineEnd(qsizetype line) const
{
    if (line + 1 >= lineCount())
        return text_.size();
    const qsizetype start = lineStarts_[size_t(line)];
    qsizetype end = lineStarts_[size_t(line + 1)] - 1;
    if (text_[end] == u'\n' && end > start && text_[end - 1] == u'\r')
        --end;
    return end;
}

// A position between the CR and the LF of one line break stands for the one after it.
qsizetype TextDisplay::normalised(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, text_.size());
    if (position > 0 && position < text_.size() && text_[position - 1] == u'\r'
        && text_[position] == u'\n')
        ++position;
    return position;
}

qsizetype TextDisplay::nextPosition(qsizetype position) const
{
    if (position >= text_.size())
        return text_.size();
    const QChar c = text_[position];
    const bool pair = position + 1 < text_.size()
        && ((c == u'\r' && text_[position + 1] == u'\n')
            || (c.isHighSurrogate() && text_[position + 1].isLowSurrogate()));
    return position + (pair ? 2 : 1);
}

qsizetype TextDisplay::previousPosition(qsizetype position) const
{
    if (position <= 0)
        return 0;
    const QChar c = text_[position - 1];
    const bool pair = position >= 2
        && ((c == u'\n' && text_[position - 2] == u'\r')
            || (c.isLowSurrogate() && text_[position - 2].isHighSurrogate()));
    return position - (pair ? 2 : 1);
}

bool TextDisplay::isWordAt(qsizetype position) const
{
    return position >= 0 && position < text_.size()
        && (text_[position].isLetterOrNumber() || text_[position] == u'_');
}

qsizetype TextDisplay::nextWord(qsizetype position) const
{
    while (isWordAt(position))
        ++position;
    while (position < text_.size() && !isWordAt(position))
        ++position;
    return normalised(position);
}

qsizetype TextDisplay::previousWord(qsizetype position) const
{
    while (position > 0 && !isWordAt(position - 1))
        --position;
    while (isWordAt(position - 1))
        --position;
    return normalised(position);
}

void TextDisplay::setSelection(qsizetype start, qsizetype length)
{
    start = std::clamp<qsizetype>(start, 0, text_.size());
    const qsizetype end
        = std::clamp<qsizetype>(start + std::max<qsizetype>(length, 0), start, text_.size());
    anchor_ = normalised(start);
    caret_ = normalised(end);
    goalX_ = -1;
    ensureCaretVisible();
    selectionChanged();
}

qsizetype TextDisplay::selectionStart() const { return std::min(anchor_, caret_); }

qsizetype TextDisplay::selectionLength() const { return std::abs(caret_ - anchor_); }

void TextDisplay::setTextCursorShape(const QCursor& cursor) { viewport()->setCursor(cursor); }

// --- Measuring -------------------------------------------------------------------------------

// The width of the character at index when it starts at x: tabs reach the next stop, a
// surrogate pair counts whole on its first half.
double TextDisplay::advanceAt(qsizetype index, double x) const
{
    char16_t c = text_[index].unicode();
    if (c == u'\t')
        return (std::floor(x / tabWidth_ + 1e-6) + 1) * tabWidth_ - x;
    if (QChar::isSurrogate(c)) {
        if (QChar::isHighSurrogate(c) && index + 1 < text_.size()
            && text_[index + 1].isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(text_[index], text_[index + 1]);
            auto found = pairAdvances_.constFind(code);
            if (found == pairAdvances_.cend())
                found = pairAdvances_.insert(
                    code, metrics_.horizontalAdvance(QString::fromUcs4(&code, 1)));
            return *found;
        }
        if (QChar::isLowSurrogate(c) && index > 0 && text_[index - 1].isHighSurrogate())
            return 0;
        c = kReplacement;
    }
    if (isControl(c))
        c = kReplacement;
    float& advance = advances_[c];
    if (advance < 0)
        advance = float(metrics_.horizontalAdvance(QChar(c)));
    return advance;
}

const std::vector<double>* TextDisplay::checkpoints(qsizetype line) const
{
    const qsizetype start = lineStarts_[size_t(line)];
    const qsizetype end = lineEnd(line);
    if (end - start <= kChunk)
        return nullptr;
    const auto found = checkpoints_.find(line);
    if (found != checkpoints_.end())
        return &found->second;
    if (checkpoints_.size() >= 64)
        checkpoints_.clear();
    std::vector<double> xs;
    xs.reserve(size_t((end - start) / kChunk + 1));
    double x = 0;
    for (qsizetype i = start; i < end; ++i) {
        if ((i - start) % kChunk == 0)
            xs.push_back(x);
        x += advanceAt(i, x);
    }
    growMeasuredWidth(x);
    return &checkpoints_.emplace(line, std::move(xs)).first->second;
}

// Lines found wider than the estimate widen the scroll range, once the painting is over.
void TextDisplay::growMeasuredWidth(double width) const
{
    if (width <= measuredWidth_ + 0.5)
        return;
    measuredWidth_ = width;
    if (rangeUpdatePending_)
        return;
    rangeUpdatePending_ = true;
    QMetaObject::invokeMethod(
        const_cast<TextDisplay*>(this),
        [this] {
            rangeUpdatePending_ = false;
            const_cast<TextDisplay*>(this)->updateScrollBars();
        },
        Qt::QueuedConnection);
}

// x of a position from the start of its line, in pixels.
double TextDisplay::xOf(qsizetype line, qsizetype position) const
{
    const qsizetype start = lineStarts_[size_t(line)];
    position = std::clamp(position, start, lineEnd(line));
    qsizetype i = start;
    double x = 0;
    if (const auto* xs = checkpoints(line)) {
        const qsizetype k
            = std::min<qsizetype>((position - start) / kChunk, qsizetype(xs->size()) - 1);
        i = start + k * kChunk;
        x = (*xs)[size_t(k)];
    }
    for (; i < position; ++i)
        x += advanceAt(i, x);
    return x;
}

// The last index of the line, its end included, that starts at or before x.
qsizetype TextDisplay::indexAtX(qsizetype line, double x, double* indexX) const
{
    const qsizetype start = lineStarts_[size_t(line)];
    const qsizetype end = lineEnd(line);
    qsizetype i = start;
    double at = 0;
    if (const auto* xs = checkpoints(line)) {
        const auto after = std::upper_bound(xs->begin(), xs->end(), x);
        const qsizetype k = std::max<qsizetype>(0, qsizetype(after - xs->begin()) - 1);
        i = start + k * kChunk;
        at = (*xs)[size_t(k)];
    }
    while (i < end) {
        const double advance = advanceAt(i, at);
        if (at + advance > x)
            break;
        at += advance;
        ++i;
    }
    if (indexX)
        *indexX = at;
    return i;
}

qsizetype TextDisplay::positionAt(QPoint point) const
{
    const int row = point.y() < kTopMargin ? -1 : (point.y() - kTopMargin) / lineHeight_;
    const qsizetype line = std::clamp<qsizetype>(firstVisibleLine() + row, 0, lineCount() - 1);
    const double x = point.x() - kLeftMargin + horizontalScrollBar()->value();
    double at = 0;
    qsizetype i = indexAtX(line, x, &at);
    if (i < lineEnd(line) && x - at > advanceAt(i, at) / 2)
        ++i;
    if (i > 0 && i < text_.size() && text_[i].isLowSurrogate() && text_[i - 1].isHighSurrogate())
        ++i;
    return normalised(i);
}

QPoint TextDisplay::pointOf(qsizetype position) const
{
    const qsizetype line = lineOf(std::clamp<qsizetype>(position, 0, text_.size()));
    const double x = xOf(line, position) - horizontalScrollBar()->value() + kLeftMargin;
    const qsizetype y = kTopMargin + (line - firstVisibleLine()) * lineHeight_;
    return {int(std::lround(std::clamp<double>(x, INT_MIN / 2, INT_MAX / 2))),
            int(std::clamp<qsizetype>(y, INT_MIN / 2, INT_MAX / 2))};
}

qsizetype TextDisplay::firstVisibleLine() const { return verticalScrollBar()->value(); }

int TextDisplay::visibleLines() const
{
    return std::max(1, (viewport()->height() - kTopMargin) / lineHeight_);
}

void TextDisplay::updateMetrics()
{
    drawFont_ = font();
    // Drawn runs then advance exactly as the sum of their characters.
    drawFont_.setKerning(false);
    drawFont_.setStyleStrategy(
        QFont::StyleStrategy(drawFont_.styleStrategy() | QFont::PreferNoShaping));
    metrics_ = QFontMetricsF(drawFont_);
    const QFontMetrics whole(drawFont_);
    lineHeight_ = std::max(1, whole.lineSpacing());
    ascent_ = whole.ascent();
    averageWidth_ = std::max(1.0, metrics_.averageCharWidth());
    tabWidth_ = 8 * averageWidth_;
    advances_.assign(0x10000, -1.0f);
    pairAdvances_.clear();
    checkpoints_.clear();
    measuredWidth_ = 0;
}

void TextDisplay::updateScrollBars()
{
    const int rows = visibleLines();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setSingleStep(1);
    vertical->setPageStep(rows);
    vertical->setRange(
        0, int(std::min<qsizetype>(INT_MAX, std::max<qsizetype>(0, lineCount() - rows))));

    // The longest line at the average width until lines in view are really measured.
    const double width
        = std::max(double(longestLine_) * averageWidth_, measuredWidth_) + 2 * kLeftMargin;
    const int viewWidth = viewport()->width();
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setSingleStep(std::max(1, int(averageWidth_ * 2)));
    horizontal->setPageStep(std::max(1, viewWidth));
    horizontal->setRange(0, int(std::clamp<double>(width - viewWidth, 0, INT_MAX / 2)));
}

// --- Selection and moves ---------------------------------------------------------------------

void TextDisplay::moveCaret(qsizetype position, bool extend)
{
    caret_ = normalised(position);
    if (!extend)
        anchor_ = caret_;
    ensureCaretVisible();
    selectionChanged();
}

void TextDisplay::selectionChanged()
{
    viewport()->update();
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent moved(this, int(caret_));
    QAccessible::updateAccessibility(&moved);
    QAccessibleTextSelectionEvent selected(this, int(selectionStart()),
                                           int(selectionStart() + selectionLength()));
    QAccessible::updateAccessibility(&selected);
}

void TextDisplay::ensureCaretVisible() { ensureVisible(caret_, anchor_); }

// Scrolls as little as needed to show position, and other too when it is on the same line.
void TextDisplay::ensureVisible(qsizetype position, qsizetype other)
{
    const qsizetype line = lineOf(position);
    const int rows = visibleLines();
    QScrollBar* vertical = verticalScrollBar();
    if (line < vertical->value())
        vertical->setValue(int(line));
    else if (line >= vertical->value() + rows)
        vertical->setValue(int(line - rows + 1));

    const double caretX = xOf(line, position);
    const double otherX = lineOf(other) == line ? xOf(line, other) : caretX;
    const double left = std::min(caretX, otherX);
    const double right = std::max(caretX, otherX);
    // Measuring may just have found the line wider than the range knew.
    measuredWidth_ = std::max(measuredWidth_, right);
    updateScrollBars();
    const int room = std::max(1, viewport()->width() - 2 * kLeftMargin);
    QScrollBar* horizontal = horizontalScrollBar();
    double scroll = horizontal->value();
    if (right - left > room)
        scroll = caretX - (caretX >= otherX ? room : 0);
    else if (left < scroll)
        scroll = left;
    else if (right > scroll + room)
        scroll = right - room;
    horizontal->setValue(int(std::floor(scroll)));
}

void TextDisplay::copySelection() const
{
    if (selectionLength() > 0)
        QGuiApplication::clipboard()->setText(text_.mid(selectionStart(), selectionLength()));
}

bool TextDisplay::event(QEvent* event)
{
    // The keys this box acts on are not window shortcuts while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        for (const QKeySequence::StandardKey standard : kNavigationKeys) {
            if (key->matches(standard)) {
                event->accept();
                return true;
            }
        }
    }
    return QAbstractScrollArea::event(event);
}

void TextDisplay::keyPressEvent(QKeyEvent* event)
{
    using Key = QKeySequence;
    if (event->matches(Key::SelectAll)) {
        anchor_ = 0;
        caret_ = text_.size();
        selectionChanged();
        return;
    }
    if (event->matches(Key::Copy)) {
        copySelection();
        return;
    }
    const qsizetype line = lineOf(caret_);
    const auto vertically = [&](qsizetype lines) {
        if (goalX_ < 0)
            goalX_ = xOf(line, caret_);
        const qsizetype target = std::clamp<qsizetype>(line + lines, 0, lineCount() - 1);
        double at = 0;
        qsizetype i = indexAtX(target, goalX_, &at);
        if (i < lineEnd(target) && goalX_ - at > advanceAt(i, at) / 2)
            ++i;
        if (i > 0 && i < text_.size() && text_[i].isLowSurrogate()
            && text_[i - 1].isHighSurrogate())
            ++i; // not between the halves of a pair
        return i;
    };
    const qsizetype page = visibleLines();
    const struct {
        Key::StandardKey move, select;
        bool keepsGoal;
    } moves[] = {
        {Key::MoveToNextChar, Key::SelectNextChar, false},
        {Key::MoveToPreviousChar, Key::SelectPreviousChar, false},
        {Key::MoveToNextWord, Key::SelectNextWord, false},
        {Key::MoveToPreviousWord, Key::SelectPreviousWord, false},
        {Key::MoveToNextLine, Key::SelectNextLine, true},
        {Key::MoveToPreviousLine, Key::SelectPreviousLine, true},
        {Key::MoveToNextPage, Key::SelectNextPage, true},
        {Key::MoveToPreviousPage, Key::SelectPreviousPage, true},
        {Key::MoveToStartOfLine, Key::SelectStartOfLine, false},
        {Key::MoveToEndOfLine, Key::SelectEndOfLine, false},
        {Key::MoveToStartOfDocument, Key::SelectStartOfDocument, false},
        {Key::MoveToEndOfDocument, Key::SelectEndOfDocument, false},
    };
    for (const auto& m : moves) {
        const bool extend = event->matches(m.select);
        if (!extend && !event->matches(m.move))
            continue;
        if (!m.keepsGoal)
            goalX_ = -1;
        qsizetype target = caret_;
        switch (m.move) {
        case Key::MoveToNextChar:
            target = nextPosition(caret_);
            break;
        case Key::MoveToPreviousChar:
            target = previousPosition(caret_);
            break;
        case Key::MoveToNextWord:
            target = nextWord(caret_);
            break;
        case Key::MoveToPreviousWord:
            target = previousWord(caret_);
            break;
        case Key::MoveToNextLine:
            target = vertically(1);
            break;
        case Key::MoveToPreviousLine:
            target = vertically(-1);
            break;
        case Key::MoveToNextPage:
            verticalScrollBar()->setValue(verticalScrollBar()->value() + int(page));
            target = vertically(page);
            break;
        case Key::MoveToPreviousPage:
            verticalScrollBar()->setValue(verticalScrollBar()->value() - int(page));
            target = vertically(-page);
            break;
        case Key::MoveToStartOfLine:
            target = lineStarts_[size_t(line)];
            break;
        case Key::MoveToEndOfLine:
            target = lineEnd(line);
            break;
        case Key::MoveToStartOfDocument:
            target = 0;
            break;
        case Key::MoveToEndOfDocument:
            target = text_.size();
            break;
        default:
            break;
        }
        moveCaret(target, extend);
        return;
    }
    event->ignore();
}

void TextDisplay::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    goalX_ = -1;
    dragging_ = true;
    moveCaret(positionAt(event->position().toPoint()),
              event->modifiers().testFlag(Qt::ShiftModifier));
}

void TextDisplay::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_ || !event->buttons().testFlag(Qt::LeftButton))
        return;
    dragPoint_ = event->position().toPoint();
    moveCaret(positionAt(dragPoint_), true);
    if (viewport()->rect().contains(dragPoint_))
        dragScroll_.stop();
    else if (!dragScroll_.isActive())
        dragScroll_.start(50, this);
}

void TextDisplay::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        dragScroll_.stop();
    }
}

void TextDisplay::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != dragScroll_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    if (!dragging_) {
        dragScroll_.stop();
        return;
    }
    // Positions past an edge of the view lie beyond it, so each step scrolls a little.
    moveCaret(positionAt(dragPoint_), true);
}

void TextDisplay::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const qsizetype at = positionAt(event->position().toPoint());
    qsizetype start = at;
    qsizetype end = at;
    while (isWordAt(start - 1))
        --start;
    while (isWordAt(end))
        ++end;
    anchor_ = start;
    moveCaret(end, true);
}

void TextDisplay::focusInEvent(QFocusEvent* event)
{
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void TextDisplay::focusOutEvent(QFocusEvent* event)
{
    dragging_ = false;
    dragScroll_.stop();
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void TextDisplay::scrollContentsBy(int, int) { viewport()->update(); }

void TextDisplay::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TextDisplay::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMetrics();
        updateScrollBars();
        viewport()->update();
    }
}

// --- Painting --------------------------------------------------------------------------------

void TextDisplay::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(drawFont_);
    const qsizetype first = firstVisibleLine();
    const qsizetype last = std::min(lineCount(), first + visibleLines() + 1);
    for (qsizetype line = first; line < last; ++line)
        drawLine(painter, line, kTopMargin + int(line - first) * lineHeight_);
    if (hasFocus()) {
        const QPoint caret = pointOf(caret_);
        painter.fillRect(QRect(caret.x(), caret.y(), 1, lineHeight_), palette().text());
    }
}

void TextDisplay::drawLine(QPainter& painter, qsizetype line, int top) const
{
    const qsizetype start = lineStarts_[size_t(line)];
    const qsizetype end = lineEnd(line);
    const int scroll = horizontalScrollBar()->value();
    const double right = scroll + viewport()->width();

    if (end - start <= kMeasureCap)
        growMeasuredWidth(xOf(line, end));

    // Only the characters in view, in runs cut at tabs.
    struct Run {
        double x;
        QString text;
    };
    std::vector<Run> runs;
    double x = 0;
    qsizetype i = indexAtX(line, std::max(0, scroll - kLeftMargin), &x);
    if (i > start && text_[i].isLowSurrogate() && text_[i - 1].isHighSurrogate()) {
        --i;
        x = xOf(line, i);
    }
    Run run{x, {}};
    while (i < end && x < right) {
        const char16_t c = text_[i].unicode();
        const double advance = advanceAt(i, x);
        if (c == u'\t') {
            if (!run.text.isEmpty())
                runs.push_back(std::move(run));
            run = Run{x + advance, {}};
        } else if (QChar::isHighSurrogate(c) && advance > 0) {
            run.text.append(text_[i]);
            run.text.append(text_[i + 1]);
            ++i;
        } else {
            run.text.append(isControl(c) || QChar::isSurrogate(c) ? QChar(kReplacement) : QChar(c));
        }
        x += advance;
        ++i;
    }
    if (!run.text.isEmpty())
        runs.push_back(std::move(run));

    const auto drawRuns = [&] {
        for (const Run& r : runs)
            painter.drawText(QPointF(r.x - scroll + kLeftMargin, top + ascent_), r.text);
    };
    painter.setPen(palette().color(QPalette::Text));
    drawRuns();

    const qsizetype selectionEnd = selectionStart() + selectionLength();
    if (selectionLength() == 0 || selectionEnd <= start || selectionStart() > end)
        return;
    if (selectionEnd <= end && selectionStart() >= end)
        return;
    const double from = xOf(line, selectionStart());
    // A selected line break shows as a little more highlight past the line.
    const double to = selectionEnd > end ? xOf(line, end) + averageWidth_ : xOf(line, selectionEnd);
    const double left = std::max<double>(from - scroll + kLeftMargin, 0);
    const double width = std::min<double>(to - scroll + kLeftMargin, viewport()->width()) - left;
    if (width <= 0)
        return;
    const QRectF area(left, top, width, lineHeight_);
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    painter.fillRect(area, palette().color(group, QPalette::Highlight));
    painter.save();
    painter.setClipRect(area);
    painter.setPen(palette().color(group, QPalette::HighlightedText));
    drawRuns();
    painter.restore();
}
