// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_view/vue_texte.h"

#include "text_view/positions_texte.h"
#include "text_view/vue_texte_accessible.h"

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

namespace {

constexpr int kLeftMargin = 4;
constexpr int kTopMargin = 2;
// Lines up to this length are measured exactly when shown, to widen the scroll range.
constexpr qsizetype kMeasureCap = 20000;

} // namespace

// What a key does: the move without Shift, the same extending the selection with it.
struct TextDisplay::Touche {
    QKeySequence::StandardKey move;
    QKeySequence::StandardKey select; // UnknownKey when Shift changes nothing
    bool keepsGoal; // up and down moves aim at the column where they began
    void (*act)(TextDisplay& display, bool extend);
};

std::span<const TextDisplay::Touche> TextDisplay::touches()
{
    using Key = QKeySequence;
    static const Touche table[] = {
        {Key::MoveToNextChar, Key::SelectNextChar, false,
         [](TextDisplay& d, bool e) { d.moveCaret(positionSuivante(d.text(), d.caret_), e); }},
        {Key::MoveToPreviousChar, Key::SelectPreviousChar, false,
         [](TextDisplay& d, bool e) { d.moveCaret(positionPrecedente(d.text(), d.caret_), e); }},
        {Key::MoveToNextWord, Key::SelectNextWord, false,
         [](TextDisplay& d, bool e) { d.moveCaret(motSuivant(d.text(), d.caret_), e); }},
        {Key::MoveToPreviousWord, Key::SelectPreviousWord, false,
         [](TextDisplay& d, bool e) { d.moveCaret(motPrecedent(d.text(), d.caret_), e); }},
        {Key::MoveToNextLine, Key::SelectNextLine, true,
         [](TextDisplay& d, bool e) { d.moveCaret(d.positionVerticale(1), e); }},
        {Key::MoveToPreviousLine, Key::SelectPreviousLine, true,
         [](TextDisplay& d, bool e) { d.moveCaret(d.positionVerticale(-1), e); }},
        {Key::MoveToNextPage, Key::SelectNextPage, true,
         [](TextDisplay& d, bool e) {
             const int page = d.visibleLines();
             d.verticalScrollBar()->setValue(d.verticalScrollBar()->value() + page);
             d.moveCaret(d.positionVerticale(page), e);
         }},
        {Key::MoveToPreviousPage, Key::SelectPreviousPage, true,
         [](TextDisplay& d, bool e) {
             const int page = d.visibleLines();
             d.verticalScrollBar()->setValue(d.verticalScrollBar()->value() - page);
             d.moveCaret(d.positionVerticale(-page), e);
         }},
        {Key::MoveToStartOfLine, Key::SelectStartOfLine, false,
         [](TextDisplay& d, bool e) {
             d.moveCaret(d.lignes_.debut(d.lignes_.ligneDe(d.caret_)), e);
         }},
        {Key::MoveToEndOfLine, Key::SelectEndOfLine, false,
         [](TextDisplay& d, bool e) {
             d.moveCaret(d.lignes_.fin(d.lignes_.ligneDe(d.caret_)), e);
         }},
        {Key::MoveToStartOfDocument, Key::SelectStartOfDocument, false,
         [](TextDisplay& d, bool e) { d.moveCaret(0, e); }},
        {Key::MoveToEndOfDocument, Key::SelectEndOfDocument, false,
         [](TextDisplay& d, bool e) { d.moveCaret(d.text().size(), e); }},
        {Key::SelectAll, Key::UnknownKey, true,
         [](TextDisplay& d, bool) {
             d.anchor_ = 0;
             d.caret_ = d.text().size();
             d.selectionChanged();
         }},
        {Key::Copy, Key::UnknownKey, true, [](TextDisplay& d, bool) { d.copySelection(); }},
    };
    return table;
}

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
    metriques_.definirPolice(font());
    updateScrollBars();
}

void TextDisplay::setText(const QString& text) { setText(text, IndexLignes(text)); }

void TextDisplay::setText(const QString& text, IndexLignes index)
{
    const bool sameText = index.texte().size() == text.size()
        && (text.isEmpty() || index.texte().constData() == text.constData());
    lignes_ = sameText ? std::move(index) : IndexLignes(text);
    anchor_ = caret_ = 0;
    goalX_ = -1;
    metriques_.oublierLignes();
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

QStringView TextDisplay::ligne(qsizetype numero) const
{
    const qsizetype start = lignes_.debut(numero);
    return QStringView(text()).mid(start, lignes_.fin(numero) - start);
}

QStringView TextDisplay::lineAt(qsizetype line) const
{
    if (line < 0 || line >= lineCount())
        return {};
    return ligne(line);
}

void TextDisplay::setSelection(qsizetype start, qsizetype length)
{
    const qsizetype size = text().size();
    start = std::clamp<qsizetype>(start, 0, size);
    const qsizetype end
        = std::clamp<qsizetype>(start + std::max<qsizetype>(length, 0), start, size);
    anchor_ = positionNormalisee(text(), start);
    caret_ = positionNormalisee(text(), end);
    goalX_ = -1;
    ensureCaretVisible();
    selectionChanged();
}

qsizetype TextDisplay::selectionStart() const { return std::min(anchor_, caret_); }

qsizetype TextDisplay::selectionLength() const { return std::abs(caret_ - anchor_); }

void TextDisplay::setTextCursorShape(const QCursor& cursor) { viewport()->setCursor(cursor); }

// --- Positions on screen ---------------------------------------------------------------------

// x of a position from the start of its line, in pixels.
double TextDisplay::xOf(qsizetype position) const
{
    const qsizetype line = lignes_.ligneDe(position);
    return metriques_.x(line, ligne(line), position - lignes_.debut(line));
}

qsizetype TextDisplay::positionAt(QPoint point) const
{
    const int row
        = point.y() < kTopMargin ? -1 : (point.y() - kTopMargin) / metriques_.hauteurLigne();
    const qsizetype line = std::clamp<qsizetype>(firstVisibleLine() + row, 0, lineCount() - 1);
    const double x = point.x() - kLeftMargin + horizontalScrollBar()->value();
    return positionNormalisee(text(),
                              lignes_.debut(line) + metriques_.colonneProche(line, ligne(line), x));
}

qsizetype TextDisplay::positionVerticale(qsizetype lines)
{
    if (goalX_ < 0)
        goalX_ = xOf(caret_);
    const qsizetype target
        = std::clamp<qsizetype>(lignes_.ligneDe(caret_) + lines, 0, lineCount() - 1);
    return lignes_.debut(target) + metriques_.colonneProche(target, ligne(target), goalX_);
}

QPoint TextDisplay::pointOf(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, text().size());
    const qsizetype line = lignes_.ligneDe(position);
    const double x = xOf(position) - horizontalScrollBar()->value() + kLeftMargin;
    const qsizetype y = kTopMargin + (line - firstVisibleLine()) * metriques_.hauteurLigne();
    return {int(std::lround(std::clamp<double>(x, INT_MIN / 2, INT_MAX / 2))),
            int(std::clamp<qsizetype>(y, INT_MIN / 2, INT_MAX / 2))};
}

qsizetype TextDisplay::firstVisibleLine() const { return verticalScrollBar()->value(); }

int TextDisplay::visibleLines() const
{
    return std::max(1, (viewport()->height() - kTopMargin) / metriques_.hauteurLigne());
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
    rangeWidth_ = metriques_.largeurMesuree();
    const double width
        = std::max(double(lignes_.plusLongue()) * metriques_.largeurMoyenne(), rangeWidth_)
        + 2 * kLeftMargin;
    const int viewWidth = viewport()->width();
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setSingleStep(std::max(1, int(metriques_.largeurMoyenne() * 2)));
    horizontal->setPageStep(std::max(1, viewWidth));
    horizontal->setRange(0, int(std::clamp<double>(width - viewWidth, 0, INT_MAX / 2)));
}

// --- Selection and moves ---------------------------------------------------------------------

void TextDisplay::moveCaret(qsizetype position, bool extend)
{
    caret_ = positionNormalisee(text(), position);
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
    const qsizetype line = lignes_.ligneDe(position);
    const int rows = visibleLines();
    QScrollBar* vertical = verticalScrollBar();
    if (line < vertical->value())
        vertical->setValue(int(line));
    else if (line >= vertical->value() + rows)
        vertical->setValue(int(line - rows + 1));

    const double caretX = xOf(position);
    const double otherX = lignes_.ligneDe(other) == line ? xOf(other) : caretX;
    const double left = std::min(caretX, otherX);
    const double right = std::max(caretX, otherX);
    // Measuring may just have found the line wider than the range knew.
    metriques_.elargir(right);
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
        QGuiApplication::clipboard()->setText(text().mid(selectionStart(), selectionLength()));
}

bool TextDisplay::event(QEvent* event)
{
    // The keys this box acts on are not window shortcuts while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        for (const Touche& touche : touches()) {
            if (key->matches(touche.move) || key->matches(touche.select)) {
                event->accept();
                return true;
            }
        }
    }
    return QAbstractScrollArea::event(event);
}

void TextDisplay::keyPressEvent(QKeyEvent* event)
{
    for (const Touche& touche : touches()) {
        const bool extend
            = touche.select != QKeySequence::UnknownKey && event->matches(touche.select);
        if (!extend && !event->matches(touche.move))
            continue;
        if (!touche.keepsGoal)
            goalX_ = -1;
        touche.act(*this, extend);
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
    const auto [start, end] = motAutour(text(), positionAt(event->position().toPoint()));
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
        metriques_.definirPolice(font());
        updateScrollBars();
        viewport()->update();
    }
}

// --- Painting --------------------------------------------------------------------------------

void TextDisplay::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(metriques_.police());
    const qsizetype first = firstVisibleLine();
    const qsizetype last = std::min(lineCount(), first + visibleLines() + 1);
    for (qsizetype line = first; line < last; ++line) {
        // Measuring the lines in view lets the scroll range reach their real width.
        if (lignes_.fin(line) - lignes_.debut(line) <= kMeasureCap)
            metriques_.mesurer(line, ligne(line));
        drawLine(painter, line, kTopMargin + int(line - first) * metriques_.hauteurLigne());
    }
    if (hasFocus()) {
        const QPoint caret = pointOf(caret_);
        painter.fillRect(QRect(caret.x(), caret.y(), 1, metriques_.hauteurLigne()),
                         palette().text());
    }
    // Widening the range now would repaint within this paint: after it.
    if (metriques_.largeurMesuree() > rangeWidth_ + 0.5 && !rangeUpdatePending_) {
        rangeUpdatePending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                rangeUpdatePending_ = false;
                updateScrollBars();
            },
            Qt::QueuedConnection);
    }
}

void TextDisplay::drawLine(QPainter& painter, qsizetype line, int top) const
{
    const qsizetype start = lignes_.debut(line);
    const qsizetype end = lignes_.fin(line);
    const QStringView chars = ligne(line);
    const int scroll = horizontalScrollBar()->value();
    const double right = scroll + viewport()->width();

    // Only the characters in view, in runs cut at tabs.
    struct Run {
        double x;
        QString text;
    };
    std::vector<Run> runs;
    double x = 0;
    qsizetype i = metriques_.colonneA(line, chars, std::max(0, scroll - kLeftMargin), &x);
    if (i > 0 && i < chars.size() && chars[i].isLowSurrogate() && chars[i - 1].isHighSurrogate()) {
        --i;
        x = metriques_.x(line, chars, i);
    }
    Run run{x, {}};
    while (i < chars.size() && x < right) {
        const char16_t c = chars[i].unicode();
        const double advance = metriques_.avance(chars, i, x);
        if (c == u'\t') {
            if (!run.text.isEmpty())
                runs.push_back(std::move(run));
            run = Run{x + advance, {}};
        } else if (QChar::isHighSurrogate(c) && advance > 0 && i + 1 < chars.size()
                   && chars[i + 1].isLowSurrogate()) {
            run.text.append(chars[i]);
            run.text.append(chars[i + 1]);
            ++i;
        } else {
            run.text.append(QChar(caractereAffiche(c)));
        }
        x += advance;
        ++i;
    }
    if (!run.text.isEmpty())
        runs.push_back(std::move(run));

    const auto drawRuns = [&] {
        for (const Run& r : runs)
            painter.drawText(QPointF(r.x - scroll + kLeftMargin, top + metriques_.ascendante()),
                             r.text);
    };
    painter.setPen(palette().color(QPalette::Text));
    drawRuns();

    const qsizetype selectionEnd = selectionStart() + selectionLength();
    if (selectionLength() == 0 || selectionEnd <= start || selectionStart() > end)
        return;
    if (selectionEnd <= end && selectionStart() >= end)
        return;
    const double from = metriques_.x(line, chars, selectionStart() - start);
    // A selected line break shows as a little more highlight past the line.
    const double to = selectionEnd > end
        ? metriques_.x(line, chars, end - start) + metriques_.largeurMoyenne()
        : metriques_.x(line, chars, selectionEnd - start);
    const double left = std::max<double>(from - scroll + kLeftMargin, 0);
    const double width = std::min<double>(to - scroll + kLeftMargin, viewport()->width()) - left;
    if (width <= 0)
        return;
    const QRectF area(left, top, width, metriques_.hauteurLigne());
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    painter.fillRect(area, palette().color(group, QPalette::Highlight));
    painter.save();
    painter.setClipRect(area);
    painter.setPen(palette().color(group, QPalette::HighlightedText));
    drawRuns();
    painter.restore();
}
