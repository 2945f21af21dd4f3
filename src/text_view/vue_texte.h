// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/index_lignes.h"
#include "text_view/metriques_lignes.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>

#include <span>

// A read-only multi-line text box that gives back exactly the text it was given, CR LF
// included, and counts selection positions in that text. CR LF, a lone CR and a lone LF each
// end a line on screen. Only the lines in view are drawn, so any size opens at once.
class TextDisplay final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextDisplay(QWidget* parent = nullptr);

    void setText(const QString& text);
    // The same with its lines already indexed, for instance on another thread. An index of
    // another text is not used: the text is indexed again.
    void setText(const QString& text, IndexLignes index);
    const QString& text() const { return lignes_.texte(); }

    // Start and length count characters of text(); both are clamped to it.
    void setSelection(qsizetype start, qsizetype length);
    qsizetype selectionStart() const;
    qsizetype selectionLength() const;

    // The pointer shown over the text area itself.
    void setTextCursorShape(const QCursor& cursor);

    // Lines as shown, without their line breaks.
    qsizetype lineCount() const { return lignes_.nombreLignes(); }
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
    struct Touche;
    static std::span<const Touche> touches();

    // A line's characters, its break excluded.
    QStringView ligne(qsizetype numero) const;
    double xOf(qsizetype position) const;
    qsizetype positionAt(QPoint viewportPoint) const;
    // The position on another line nearest to the column the up and down moves keep.
    qsizetype positionVerticale(qsizetype lignes);

    int visibleLines() const;
    void updateScrollBars();
    void moveCaret(qsizetype position, bool extend);
    void ensureCaretVisible();
    void ensureVisible(qsizetype position, qsizetype other);
    void selectionChanged();
    void copySelection() const;
    void drawLine(class QPainter& painter, qsizetype line, int top) const;

    IndexLignes lignes_;
    MetriquesLignes metriques_;
    qsizetype anchor_ = 0;
    qsizetype caret_ = 0;
    double goalX_ = -1; // kept across up and down moves
    // The width the horizontal scroll range was last set for.
    double rangeWidth_ = 0;
    bool rangeUpdatePending_ = false;
    // A drag held outside the view keeps scrolling towards the pointer.
    QBasicTimer dragScroll_;
    QPoint dragPoint_;
    bool dragging_ = false;
};
