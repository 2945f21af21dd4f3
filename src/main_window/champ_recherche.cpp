// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/champ_recherche.h"

#include "document/fins_de_ligne.h"
#include "text_view/decoupage_texte.h"

#include <QAccessibleWidget>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace {

bool estSautDeLigne(QChar c) { return estFinDeLigne(c.unicode()); }

// The box's text passes through here after every change, typed, pasted, dropped or set.
class SansSautDeLigneValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& texte, int& curseur) const override
    {
        qsizetype position = curseur;
        const QString garde = ChampRecherche::SansSautDeLigne(texte, curseur, &position);
        if (garde.size() != texte.size()) {
            texte = garde;
            curseur = int(position);
        }
        return Acceptable;
    }
};

// What readers see of the box: Qt's own answers about its words loop for ever on a text that
// starts with a blank; these come from the same cutting as the text views'.
class ChampAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ChampAccessible(QLineEdit* champ)
        : QAccessibleWidget(champ, QAccessible::EditableText)
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
        s.editable = true;
        s.selectableText = true;
        return s;
    }
    QString text(QAccessible::Text sorte) const override
    {
        return sorte == QAccessible::Value ? champ()->text() : QAccessibleWidget::text(sorte);
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && champ()->hasSelectedText()) {
            *start = champ()->selectionStart();
            *end = champ()->selectionEnd();
        }
    }
    int selectionCount() const override { return champ()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { champ()->deselect(); }
    void setSelection(int, int start, int end) override
    {
        champ()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return champ()->cursorPosition(); }
    void setCursorPosition(int position) override { champ()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        start = std::max(0, start);
        return champ()->text().mid(start, std::max(0, end - start));
    }
    int characterCount() const override { return int(champ()->text().size()); }
    QRect characterRect(int) const override
    {
        return QRect(champ()->mapToGlobal(QPoint()), champ()->size());
    }
    int offsetAtPoint(const QPoint&) const override { return champ()->cursorPosition(); }
    void scrollToSubstring(int, int) override { }
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType sorte, int* start,
                         int* end) const override
    {
        return texteDuMorceau(champ()->text(), morceauEn(champ()->text(), offset, sorte), start,
                              end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType sorte, int* start,
                             int* end) const override
    {
        return texteDuMorceau(champ()->text(), morceauAvant(champ()->text(), offset, sorte), start,
                              end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType sorte, int* start,
                            int* end) const override
    {
        return texteDuMorceau(champ()->text(), morceauApres(champ()->text(), offset, sorte), start,
                              end);
    }

private:
    QLineEdit* champ() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* interfaceChamp(const QString& classe, QObject* objet)
{
    if (classe == QLatin1String("ChampRecherche") && objet && objet->isWidgetType())
        return new ChampAccessible(static_cast<QLineEdit*>(objet));
    return nullptr;
}

} // namespace

ChampRecherche::ChampRecherche(QWidget* parent)
    : QLineEdit(parent)
{
    static const bool installee = (QAccessible::installFactory(interfaceChamp), true);
    (void)installee;
    // Any length the text may have: a long pasted text is kept whole, not cut at 32767.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new SansSautDeLigneValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& texte) {
        if (texte == annonce_)
            return;
        annonce_ = texte;
        emit texteModifie(texte);
    });
}

QString ChampRecherche::SansSautDeLigne(const QString& texte, qsizetype fin, qsizetype* curseur)
{
    const auto premier = std::find_if(texte.begin(), texte.end(), estSautDeLigne);
    if (premier == texte.end()) {
        *curseur = fin;
        return texte;
    }
    // The box held no line break before, so every one lies in the text just put in, which
    // ends at `fin`: what followed the insertion stays, the rest of the insertion goes.
    const qsizetype debut = premier - texte.begin();
    fin = std::clamp(fin, debut, texte.size());
    QString garde = texte.left(debut) + texte.mid(fin);
    // A line break after `fin` (the box is being given a text that was not typed): cut there.
    const auto autre = std::find_if(garde.begin() + debut, garde.end(), estSautDeLigne);
    garde.truncate(autre - garde.begin());
    *curseur = debut;
    return garde;
}
