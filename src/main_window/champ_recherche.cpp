// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/champ_recherche.h"

#include "document/fins_de_ligne.h"

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

} // namespace

ChampRecherche::ChampRecherche(QWidget* parent)
    : QLineEdit(parent)
{
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
