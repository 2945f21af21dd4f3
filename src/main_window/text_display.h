// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFontMetricsF>
#include <QHash>

#include <unordered_map>
#include <vector>

// A read-only multi-line text box that gives back exactly the text it was given, CR LF
// included, and counts selection positions in that text. CR LF, a lone CR and a lone LF each
// end a line on screen. Only the lines in view are drawn, so any size opens at once.
class TextDisplay final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextDisplay(QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return text_; }

    // Start and length count characters of text(); both are clamped to it.
    void setSelection(qsizetype start, qsizetype length);
    qsizetype selectionStart() const;
    qsizetype selectionLength() const;

    // The pointer shown over the text area itself.
    void setTextCursorShape(const QCursor& cursor);

    // Lines as shown, without their line breaks.
    qsizetype lineCount() const { return qsizetype(lineStarts_.size()); }
    QStringView lineAt(qsizetype line) const;
    qsizetype firstVisibleLine() const;
    // The end of the selection that moves with the keyboard and the mouse.
    qsizetype caretPosition() const { return caret_; }
    // Where a position is drawn, in viewport coordinates (top of its line).
    QPoint pointOf(qsizetype position) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class TextDisplayAccessible;

    qsizetype lineOf(qsizetype position) const;
    qsizetype lineEnd(qsizetype line) const;
    qsizetype normalised(qsizetype position) const;
    qsizetype nextPosition(qsizetype position) const;
    qsizetype previousPosition(qsizetype position) const;
    qsizetype nextWord(qsizetype position) const;
    qsizetype previousWord(qsizetype position) const;
    bool isWordAt(qsizetype position) const;

    double advanceAt(qsizetype index, double x) const;
    const std::vector<double>* checkpoints(qsizetype line) const;
    double xOf(qsizetype line, qsizetype position) const;
    qsizetype indexAtX(qsizetype line, double x, double* indexX) const;
    qsizetype positionAt(QPoint viewportPoint) const;
    void growMeasuredWidth(double width) const;

    int visibleLines() const;
    void updateMetrics();
    void updateScrollBars();
    void moveCaret(qsizetype position, bool extend);
    void ensureCaretVisible();
    void ensureVisible(qsizetype position, qsizetype other);
    void selectionChanged();
    void copySelection() const;
    void drawLine(class QPainter& painter, qsizetype line, int top) const;

    QString text_;
    // The index where each shown line begins, ascending; the first is 0.
    std::vector<qsizetype> lineStarts_;
    qsizetype longestLine_ = 0; // in characters
    qsizetype anchor_ = 0;
    qsizetype caret_ = 0;
    double goalX_ = -1; // kept across up and down moves
    // A drag held outside the view keeps scrolling towards the pointer.
    QBasicTimer dragScroll_;
    QPoint dragPoint_;
    bool dragging_ = false;

    QFont drawFont_;
    QFontMetricsF metrics_{QFont()};
    int lineHeight_ = 1;
    int ascent_ = 0;
    double averageWidth_ = 1;
    double tabWidth_ = 8;
    mutable std::vector<float> advances_; // per UTF-16 unit, < 0 until measured
    mutable QHash<char32_t, double> pairAdvances_;
    // x every few thousand characters of the long lines in view, so a 10 MB line scrolls.
    mutable std::unordered_map<qsizetype, std::vector<double>> checkpoints_;
    mutable double measuredWidth_ = 0;
    mutable bool rangeUpdatePending_ = false;
};
