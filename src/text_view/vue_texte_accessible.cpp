// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_view/vue_texte_accessible.h"

#include "text_view/decoupage_texte.h"
#include "text_view/positions_texte.h"
#include "text_view/vue_texte.h"

#include <QAccessibleWidget>
#include <QScrollBar>

#include <algorithm>

// Offsets are int here; texts stay under 512 Mi characters, well within.
class VueTexteAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit VueTexteAccessible(VueTexte* vue)
        : QAccessibleWidget(vue, QAccessible::EditableText)
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
            return texte().toString();
        return QAccessibleWidget::text(kind);
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && vue()->longueurSelection() > 0) {
            *start = int(vue()->debutSelection());
            *end = int(vue()->debutSelection() + vue()->longueurSelection());
        }
    }
    int selectionCount() const override { return vue()->longueurSelection() > 0 ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { vue()->definirSelection(vue()->positionCurseur(), 0); }
    void setSelection(int, int start, int end) override
    {
        vue()->definirSelection(start, end - start);
    }
    // Its scroll bars are no more than where the caret is, which the text tells.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    int cursorPosition() const override { return int(vue()->positionCurseur()); }
    void setCursorPosition(int position) override { vue()->definirSelection(position, 0); }
    QString text(int start, int end) const override
    {
        start = std::max(0, start);
        return texte().mid(start, std::max(0, end - start));
    }
    int characterCount() const override { return int(texte().size()); }

    // Qt's own answers loop over the whole text, and some never end.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType sorte, int* start,
                         int* end) const override
    {
        return texteDuMorceau(texte(), morceauEn(texte(), offset, sorte), start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType sorte, int* start,
                             int* end) const override
    {
        return texteDuMorceau(texte(), morceauAvant(texte(), offset, sorte), start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType sorte, int* start,
                            int* end) const override
    {
        return texteDuMorceau(texte(), morceauApres(texte(), offset, sorte), start, end);
    }

    QRect characterRect(int offset) const override
    {
        VueTexte* d = vue();
        const qsizetype at = std::clamp<qsizetype>(offset, 0, texte().size());
        const QPoint from = d->pointDe(at);
        const int width = std::max(1, d->pointDe(positionSuivante(texte(), at)).x() - from.x());
        const QPoint global = d->viewport()->mapToGlobal(from);
        return {global, QSize(width, d->metriques_.hauteurLigne())};
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        VueTexte* d = vue();
        return int(d->positionEn(d->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int start, int end) override
    {
        vue()->montrer(end, start);
        vue()->viewport()->update();
    }
    // One look over the whole text: readers cut lines at the end of the run they are given.
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    VueTexte* vue() const { return static_cast<VueTexte*>(widget()); }
    // What readers are told is read here alone.
    const Texte& texte() const { return vue()->texte(); }
};

namespace {

// The view's scroll bars move with every step of a search; the text already tells readers
// where the caret is, and a flood of their moves would hold back what matters.
class BarreMuette final : public QAccessibleWidget {
public:
    explicit BarreMuette(QWidget* barre)
        : QAccessibleWidget(barre, QAccessible::ScrollBar)
    { }
    bool isValid() const override { return false; }
};

bool estBarreDeVue(QObject* objet)
{
    QObject* conteneur = objet->parent();
    return conteneur && qobject_cast<VueTexte*>(conteneur->parent());
}

QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("VueTexte"))
        return new VueTexteAccessible(static_cast<VueTexte*>(object));
    if (className == QLatin1String("QScrollBar") && estBarreDeVue(object))
        return new BarreMuette(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

void installerAccessibiliteVueTexte()
{
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    (void)installed;
}
