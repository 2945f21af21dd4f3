// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_view/decoupage_texte.h"

#include "document/fins_de_ligne.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <optional>

namespace {

// How far around the position words, sentences and graphemes are looked for: a longer word
// or sentence is cut there.
constexpr qsizetype kPortee = 2048;

bool estBasSubstitut(QStringView t, qsizetype i)
{
    return i > 0 && i < t.size() && t[i].isLowSurrogate() && t[i - 1].isHighSurrogate();
}

// The line break that holds position, if any.
std::optional<Morceau> finDeLigneEn(QStringView t, qsizetype p)
{
    if (p >= t.size() || !estFinDeLigne(t[p].unicode()))
        return std::nullopt;
    if (t[p] == u'\n' && p > 0 && t[p - 1] == u'\r')
        return Morceau{p - 1, p + 1};
    return Morceau{p, apresFin(reinterpret_cast<const char16_t*>(t.utf16()), p, t.size())};
}

// The text of the line that holds position, without its break, looked for no further than
// `portee` either side.
Morceau contenuLigne(QStringView t, qsizetype p, qsizetype portee)
{
    const auto* c = reinterpret_cast<const char16_t*>(t.utf16());
    const qsizetype limiteAvant = p > portee ? p - portee : 0;
    qsizetype debut = p;
    while (debut > limiteAvant && !estFinDeLigne(c[debut - 1]))
        --debut;
    const qsizetype limiteApres = std::min(t.size(), p + portee);
    const qsizetype fin = prochaineFin(c, p, limiteApres);
    // A window never parts a surrogate pair.
    if (estBasSubstitut(t, debut))
        ++debut;
    return {debut, estBasSubstitut(t, fin) ? fin + 1 : fin};
}

Morceau ligneEn(QStringView t, qsizetype p)
{
    if (p >= t.size()) {
        // After a last line break the last line is empty; else it is the line before.
        const bool finie = t.isEmpty() || estFinDeLigne(t.back().unicode());
        return finie ? Morceau{t.size(), t.size()} : ligneEn(t, t.size() - 1);
    }
    if (entreCrEtLf(t, p))
        --p; // the LF of a CR LF ends the same line as its CR
    // The whole line: from the break before it to past its own.
    Morceau ligne = contenuLigne(t, p, t.size());
    if (const auto fin = finDeLigneEn(t, ligne.fin))
        ligne.fin = fin->fin;
    return ligne;
}

QTextBoundaryFinder::BoundaryType typeDe(QAccessible::TextBoundaryType sorte)
{
    switch (sorte) {
    case QAccessible::WordBoundary:
        return QTextBoundaryFinder::Word;
    case QAccessible::SentenceBoundary:
        return QTextBoundaryFinder::Sentence;
    default:
        return QTextBoundaryFinder::Grapheme;
    }
}

// Whether a boundary starts a piece: for words, only where a word begins.
bool commencePiece(const QTextBoundaryFinder& f, QAccessible::TextBoundaryType sorte)
{
    return sorte != QAccessible::WordBoundary
        || f.boundaryReasons().testFlag(QTextBoundaryFinder::StartOfItem);
}

// A word, sentence or grapheme, within the line's text around p.
Morceau dansLigne(QStringView t, qsizetype p, QAccessible::TextBoundaryType sorte)
{
    const Morceau fenetre = contenuLigne(t, p, kPortee);
    const QStringView vue = t.mid(fenetre.debut, fenetre.fin - fenetre.debut);
    QTextBoundaryFinder f(typeDe(sorte), vue.data(), vue.size());
    const qsizetype ici = p - fenetre.debut;
    // Back to the start of the piece; the line's start is one in any case.
    qsizetype debut = 0;
    f.setPosition(ici);
    for (qsizetype b = f.isAtBoundary() ? ici : f.toPreviousBoundary(); b > 0;
         b = f.toPreviousBoundary()) {
        if (commencePiece(f, sorte)) {
            debut = b;
            break;
        }
    }
    qsizetype fin = vue.size();
    f.setPosition(ici);
    for (qsizetype b = f.toNextBoundary(); b > 0 && b < vue.size(); b = f.toNextBoundary()) {
        if (commencePiece(f, sorte)) {
            fin = b;
            break;
        }
    }
    return {fenetre.debut + debut, fenetre.debut + fin};
}

} // namespace

Morceau morceauEn(QStringView t, qsizetype p, QAccessible::TextBoundaryType sorte)
{
    p = std::clamp<qsizetype>(p, 0, t.size());
    switch (sorte) {
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
        return ligneEn(t, p);
    case QAccessible::NoBoundary:
        return {0, t.size()};
    default:
        break;
    }
    if (p == t.size())
        return {p, p};
    if (const auto fin = finDeLigneEn(t, p))
        return *fin;
    return dansLigne(t, p, sorte);
}

Morceau morceauAvant(QStringView t, qsizetype p, QAccessible::TextBoundaryType sorte)
{
    const Morceau ici = morceauEn(t, p, sorte);
    if (ici.debut <= 0 || sorte == QAccessible::NoBoundary)
        return {0, 0};
    return morceauEn(t, ici.debut - 1, sorte);
}

Morceau morceauApres(QStringView t, qsizetype p, QAccessible::TextBoundaryType sorte)
{
    const Morceau ici = morceauEn(t, p, sorte);
    if (ici.fin >= t.size() || sorte == QAccessible::NoBoundary)
        return {t.size(), t.size()};
    return morceauEn(t, ici.fin, sorte);
}

QString texteDuMorceau(QStringView texte, Morceau morceau, int* debut, int* fin)
{
    *debut = int(morceau.debut);
    *fin = int(morceau.fin);
    return texte.mid(morceau.debut, morceau.fin - morceau.debut).toString();
}

namespace {

// The line that holds p in the byte form, found one character at a time, as ligneEn does.
Morceau ligneEnOctets(const Texte& t, qsizetype p)
{
    const qsizetype taille = t.size();
    if (p >= taille) {
        const bool finie = t.isEmpty() || estFinDeLigne(t.at(taille - 1));
        return finie ? Morceau{taille, taille} : ligneEnOctets(t, taille - 1);
    }
    if (p > 0 && t.at(p - 1) == u'\r' && t.at(p) == u'\n')
        --p;
    qsizetype debut = p;
    while (debut > 0 && !estFinDeLigne(t.at(debut - 1)))
        --debut;
    qsizetype fin = p;
    while (fin < taille && !estFinDeLigne(t.at(fin)))
        ++fin;
    if (fin < taille)
        fin += t.at(fin) == u'\r' && fin + 1 < taille && t.at(fin + 1) == u'\n' ? 2 : 1;
    return {debut, fin};
}

} // namespace

Morceau morceauEn(const Texte& t, qsizetype p, QAccessible::TextBoundaryType sorte)
{
    if (!t.estEnOctets())
        return morceauEn(t.utf16(), p, sorte);
    p = std::clamp<qsizetype>(p, 0, t.size());
    switch (sorte) {
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
        return ligneEnOctets(t, p);
    case QAccessible::NoBoundary:
        return {0, t.size()};
    default:
        break;
    }
    // Any other piece lies within kPortee of p: the same question on that stretch alone.
    const qsizetype base = std::max<qsizetype>(0, p - kPortee);
    const Extrait fenetre = t.extrait(base, p + kPortee + 1 - base);
    const Morceau m = morceauEn(fenetre.vue(), p - base, sorte);
    return {base + m.debut, base + m.fin};
}

Morceau morceauAvant(const Texte& t, qsizetype p, QAccessible::TextBoundaryType sorte)
{
    const Morceau ici = morceauEn(t, p, sorte);
    if (ici.debut <= 0 || sorte == QAccessible::NoBoundary)
        return {0, 0};
    return morceauEn(t, ici.debut - 1, sorte);
}

Morceau morceauApres(const Texte& t, qsizetype p, QAccessible::TextBoundaryType sorte)
{
    const Morceau ici = morceauEn(t, p, sorte);
    if (ici.fin >= t.size() || sorte == QAccessible::NoBoundary)
        return {t.size(), t.size()};
    return morceauEn(t, ici.fin, sorte);
}

QString texteDuMorceau(const Texte& texte, Morceau morceau, int* debut, int* fin)
{
    *debut = int(morceau.debut);
    *fin = int(morceau.fin);
    return texte.mid(morceau.debut, morceau.fin - morceau.debut);
}
