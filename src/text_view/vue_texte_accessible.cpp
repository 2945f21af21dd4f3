// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_view/vue_texte_accessible.h"

#include "text_view/positions_texte.h"
#include "text_view/vue_texte.h"

#include <QAccessibleWidget>
#include <QScrollBar>

#include <algorithm>

// Offsets are int here; texts stay under 512 Mi characters, well within.
class TextDisplayAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextDisplayAccessible(TextDisplay* display)
        : QAccessibleWidget(display, QAccessible::EditableText)
    { }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        s.focusable = true;
        return s;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return display()->text();
        return QAccessibleWidget::text(kind);
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && display()->selectionLength() > 0) {
            *start = int(display()->selectionStart());
            *end = int(display()->selectionStart() + display()->selectionLength());
        }
    }
    int selectionCount() const override { return display()->selectionLength() > 0 ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { display()->setSelection(display()->caretPosition(), 0); }
    void setSelection(int, int start, int end) override
    {
        display()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return int(display()->caretPosition()); }
    void setCursorPosition(int position) override { display()->setSelection(position, 0); }
    QString text(int start, int end) const override
    {
        return display()->text().mid(start, std::max(0, end - start));
    }
    int characterCount() const override { return int(display()->text().size()); }

    QRect characterRect(int offset) const override
    {
        TextDisplay* d = display();
        const qsizetype at = std::clamp<qsizetype>(offset, 0, d->text().size());
        const QPoint from = d->pointOf(at);
        const int width = std::max(1, d->pointOf(positionSuivante(d->text(), at)).x() - from.x());
        const QPoint global = d->viewport()->mapToGlobal(from);
        return {global, QSize(width, d->metriques_.hauteurLigne())};
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        TextDisplay* d = display();
        return int(d->positionAt(d->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int start, int end) override
    {
        display()->ensureVisible(end, start);
        display()->viewport()->update();
    }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    TextDisplay* display() const { return static_cast<TextDisplay*>(widget()); }
};

namespace {

QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    if (className == QLatin1String("TextDisplay") && object && object->isWidgetType())
        return new TextDisplayAccessible(static_cast<TextDisplay*>(object));
    return nullptr;
}

} // namespace

void installTextDisplayAccessibility()
{
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    (void)installed;
}
