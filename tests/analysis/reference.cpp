// SPDX-License-Identifier: GPL-3.0-or-later
#include "reference.h"

#include <algorithm>

namespace reference {

QString NormaliserTexte(QString t)
{
    for (char16_t s : kSeparateurs) {
        qsizetype p = t.indexOf(QChar(s), 0, Qt::CaseInsensitive);
        while (p >= 0) {
            t = t.left(p) + u' ' + t.mid(p + 1);
            p = t.indexOf(QChar(s), p + 1, Qt::CaseInsensitive);
        }
    }
    bool remplace = true;
    while (remplace) {
        remplace = false;
        qsizetype p = t.indexOf(u"  ", 0, Qt::CaseInsensitive);
        while (p >= 0) {
            t = t.left(p) + u' ' + t.mid(p + 2);
            remplace = true;
            p = t.indexOf(u"  ", p + 1, Qt::CaseInsensitive);
        }
    }
    return t;
}

QStringList Couper(const QString& normalise)
{
    if (normalise.isEmpty())
        return {};
    return normalise.split(u' ');
}

qint64 CompterMots(const QString& texte)
{
    const QStringList pieces = Couper(NormaliserTexte(texte));
    return std::count_if(pieces.begin(), pieces.end(),
                         [](const QString& p) { return !p.isEmpty(); });
}

qint64 CompterMotsDifferents(const QString& texte)
{
    QStringList pieces = Couper(NormaliserTexte(texte));
    std::sort(pieces.begin(), pieces.end());
    pieces.erase(std::unique(pieces.begin(), pieces.end()), pieces.end());
    return std::count_if(pieces.begin(), pieces.end(),
                         [](const QString& p) { return !p.isEmpty(); });
}

namespace {

bool lettre(char32_t c) { return QChar::isLetter(c) || QChar::isMark(c); }

void ajouterMot(std::vector<Entree>& table, const QString& mot)
{
    for (Entree& e : table) {
        if (e.mot.toUpper() == mot.toUpper()) {
            ++e.occurrences;
            return;
        }
    }
    table.push_back({mot, 1});
}

} // namespace

std::vector<Entree> AnalyserMots(QString texte)
{
    texte += u"\r\n";
    std::vector<Entree> table;
    bool dansMot = false;
    QString motCourant;
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte[i];
        if (c == u'\n')
            continue;
        qsizetype unites = 1;
        bool motif = c == u'\'' || (c >= u'0' && c <= u'9') || lettre(c.unicode());
        if (c.isHighSurrogate() && i + 1 < texte.size() && texte[i + 1].isLowSurrogate()) {
            motif = lettre(QChar::surrogateToUcs4(c, texte[i + 1]));
            unites = motif ? 2 : 1;
        }
        if (motif) {
            if (!dansMot) {
                motCourant.clear();
                dansMot = true;
            }
            motCourant += texte.mid(i, unites);
            i += unites - 1;
        } else if (dansMot) {
            dansMot = false;
            ajouterMot(table, motCourant);
        }
    }
    bool echange = true;
    while (echange) {
        echange = false;
        for (size_t i = table.size(); i >= 2; --i) {
            if (table[i - 1].occurrences > table[i - 2].occurrences) {
                std::swap(table[i - 1], table[i - 2]);
                echange = true;
            }
        }
    }
    return table;
}

QString Rapport(const std::vector<Entree>& table)
{
    QString r = QStringLiteral(" Occurrence des mots \r\n ") + QString(30, u'-');
    for (const Entree& e : table) {
        r += QStringLiteral("\r\n   ") + QString::number(e.occurrences);
        r += QStringLiteral("     ") + e.mot;
    }
    return r;
}

} // namespace reference
