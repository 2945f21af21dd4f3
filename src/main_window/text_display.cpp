#include "main_window/text_display.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

TextDisplay::TextDisplay(QWidget* parent) : QWidget(parent), editor_(new QPlainTextEdit(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);
    editor_->setReadOnly(true);
    // Read-only for the user, but the keyboard still moves and selects.
    editor_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setUndoRedoEnabled(false);
    editor_->setTabChangesFocus(true);
    setFocusProxy(editor_);
    setFocusPolicy(Qt::StrongFocus);
}

void TextDisplay::setText(const QString& text)
{
    text_ = text;
    crlf_.clear();
    QString shown;
    shown.reserve(text.size());
    const QChar* chars = text.constData();
    const qsizetype size = text.size();
    qsizetype copiedUpTo = 0;
    for (qsizetype i = 0; i + 1 < size; ++i) {
        if (chars[i] == u'\r' && chars[i + 1] == u'\n') {
            crlf_.push_back(i);
            shown.append(QStringView(chars + copiedUpTo, i - copiedUpTo));
            copiedUpTo = i + 1; // keep the LF as the one line break
            ++i;
        }
    }
    shown.append(QStringView(chars + copiedUpTo, size - copiedUpTo));
    editor_->setPlainText(shown);
}

qsizetype TextDisplay::toShown(qsizetype position) const
{
    // Every CR LF that ends before the position counts one character less on screen.
    const auto before = std::lower_bound(crlf_.begin(), crlf_.end(), position - 1);
    return position - (before - crlf_.begin());
}

qsizetype TextDisplay::fromShown(qsizetype shownPosition) const
{
    // The i-th CR LF (from 0) stands on screen at its CR's index minus i.
    qsizetype low = 0;
    qsizetype high = qsizetype(crlf_.size());
    while (low < high) {
        const qsizetype middle = (low + high) / 2;
        if (crlf_[size_t(middle)] - middle < shownPosition)
            low = middle + 1;
        else
            high = middle;
    }
    return shownPosition + low;
}

void TextDisplay::setSelection(qsizetype start, qsizetype length)
{
    start = std::clamp<qsizetype>(start, 0, text_.size());
    const qsizetype end = std::clamp<qsizetype>(start + std::max<qsizetype>(length, 0), start,
                                                text_.size());
    QTextCursor cursor(editor_->document());
    cursor.setPosition(int(toShown(start)));
    cursor.setPosition(int(toShown(end)), QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
    editor_->ensureCursorVisible();
}

qsizetype TextDisplay::selectionStart() const
{
    return fromShown(editor_->textCursor().selectionStart());
}

qsizetype TextDisplay::selectionLength() const
{
    const QTextCursor cursor = editor_->textCursor();
    return fromShown(cursor.selectionEnd()) - fromShown(cursor.selectionStart());
}

void TextDisplay::setTextCursorShape(const QCursor& cursor)
{
    editor_->viewport()->setCursor(cursor);
}
