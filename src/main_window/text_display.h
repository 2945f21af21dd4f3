#pragma once

#include <QWidget>

#include <vector>

class QPlainTextEdit;

// A read-only multi-line text box that gives back exactly the text it was given, CR LF
// included, and counts selection positions in that text. The screen shows each CR LF as
// one line break.
class TextDisplay final : public QWidget {
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

private:
    qsizetype toShown(qsizetype position) const;
    qsizetype fromShown(qsizetype shownPosition) const;

    QString text_;
    // For each CR LF of text_, the index of its CR, ascending.
    std::vector<qsizetype> crlf_;
    QPlainTextEdit* editor_;
};
