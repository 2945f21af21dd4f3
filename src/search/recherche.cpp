// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/recherche.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace {

const QString kSautDeLigne = QStringLiteral("\r\n");

// Comparisons of characters that one substring search may make at worst, about half a
// millisecond.
constexpr qsizetype kComparaisons = qsizetype(1) << 20;

QString texteFinal(const QString& motif)
{
    return kSautDeLigne + QStringLiteral("Recherche terminée") + kSautDeLigne
        + QStringLiteral("'' ") + motif + QStringLiteral(" ''") + kSautDeLigne;
}

// The first character with its case changed, never longer or shorter than it was: a
// character whose mapping would need more room (ß, or a letter that would leave or enter
// the surrogate range) stays as it is.
QString changerCasse(QStringView premier, bool majuscule)
{
    if (premier.size() == 2) {
        const char32_t code = QChar::surrogateToUcs4(premier[0], premier[1]);
        const char32_t change = majuscule ? QChar::toUpper(code) : QChar::toLower(code);
        if (!QChar::requiresSurrogates(change))
            return premier.toString();
        return QString::fromUcs4(&change, 1);
    }
    if (premier.isEmpty())
        return {};
    return QString(majuscule ? premier[0].toUpper() : premier[0].toLower());
}

} // namespace

Recherche::Recherche(QObject* parent)
    : QObject(parent)
    , minuterie_(new QTimer(this))
    , suite_(new QTimer(this))
{
    minuterie_->setObjectName(QStringLiteral("Timer1"));
    minuterie_->setInterval(5);
    suite_->setSingleShot(true);
    suite_->setInterval(0);
    connect(suite_, &QTimer::timeout, this, &Recherche::continuerBalayage);
}

void Recherche::definirTexte(const Texte& texte)
{
    texte_ = texte;
    reinitialiser();
}

void Recherche::definirMotif(const QString& motif)
{
    if (motif == motif_)
        return;
    motif_ = motif;
    emit motifChange(motif_);
    reinitialiser();
}

void Recherche::definirAuto(bool automatique) { automatique_ = automatique; }

void Recherche::definirMajuscule(bool majuscule)
{
    if (majuscule == majuscule_)
        return;
    majuscule_ = majuscule;
    emit majusculeChangee(majuscule_);
    recaserPremiereLettre();
}

void Recherche::reinitialiser()
{
    position_ = 1;
    etapes_ = 0;
    // The scan worked for the state just dropped: it must neither select nor count.
    balayage_.reset();
    suite_->stop();
}

void Recherche::reglerTranches(qsizetype caracteres, std::chrono::nanoseconds duree)
{
    trancheCaracteres_ = std::max<qsizetype>(caracteres, 1);
    trancheDuree_ = duree;
}

void Recherche::appuyer()
{
    if (motif_.isEmpty()) {
        emit resultat(kSautDeLigne + kSautDeLigne + QStringLiteral("Sélectionnez un mot"));
        return;
    }
    if (!automatique_) {
        // One step at a time: a press while a step is scanning is dropped.
        if (!etapeEnCours())
            etape(Origine::Bouton);
        return;
    }
    if (!minuterie_->isActive())
        minuterie_->start();
    reinitialiser();
}

void Recherche::tic()
{
    // The step still scanning is this run's; the tick after it makes the next one.
    if (etapeEnCours())
        return;
    // Nothing to look for: keep neither the timer going nor the focus away from the box.
    if (motif_.isEmpty()) {
        minuterie_->stop();
        return;
    }
    etape(Origine::Minuterie);
}

void Recherche::basculerAuto() { reinitialiser(); }

void Recherche::viderMotif()
{
    definirMotif(QString());
    definirMajuscule(false);
}

void Recherche::recaserPremiereLettre()
{
    reinitialiser();
    const qsizetype longueur
        = motif_.size() >= 2 && motif_[0].isHighSurrogate() && motif_[1].isLowSurrogate() ? 2 : 1;
    const QStringView premier = QStringView(motif_).left(longueur);
    premiereLettre_ = changerCasse(premier, majuscule_);
    definirMotif(premiereLettre_ + motif_.mid(premier.size()));
}

void Recherche::etape(Origine origine)
{
    ++etapes_;
    emit resultat(kSautDeLigne + kSautDeLigne + QString::number(etapes_));
    // Any change of the text or of the search text resets and so ends the scan: the
    // copies stay those of the loaded text and the search box for all of it.
    balayage_ = Balayage{
        origine, texte_, motif_, std::nullopt, qsizetype(position_ - 1), qsizetype(position_),
        false};
    if (texte_.estEnOctets()) {
        QByteArray octets;
        octets.reserve(motif_.size());
        for (const QChar c : motif_) {
            const int octet = octetCp1252(c.unicode());
            if (octet < 0)
                break;
            octets.append(char(octet));
        }
        if (octets.size() == motif_.size())
            balayage_->motifOctets = std::move(octets);
    }
    continuerBalayage();
}

void Recherche::continuerBalayage()
{
    if (!balayage_)
        return;
    Balayage& b = *balayage_;
    const qsizetype fin = b.texte.size();
    // A long search text can cost up to its length in comparisons per position: fewer
    // positions per search keep each one short, whatever the text.
    const qsizetype positions
        = std::min(trancheCaracteres_, std::max<qsizetype>(1, kComparaisons / b.motif.size()));
    QElapsedTimer chrono;
    chrono.start();
    while (b.suivant < fin) {
        // Positions b.suivant to bout - 1 in this search; an occurrence starting among them
        // may run past bout, so the search sees that far.
        const qsizetype bout = std::min(fin, b.suivant + positions);
        const qsizetype vue = std::min(fin, bout + b.motif.size() - 1);
        const qsizetype trouve = chercher(b, b.suivant, vue);
        if (trouve >= 0) {
            position_ = trouve + 1;
            terminerEtape(b.origine, b.motif, true);
            return;
        }
        b.suivant = bout;
        position_ = b.suivant + 1;
        if (b.suivant < fin && chrono.nsecsElapsed() >= trancheDuree_.count()) {
            if (!b.caretPlace) {
                // The caret waits where the scan started, as long as it runs.
                b.caretPlace = true;
                emit attend(b.depart);
            }
            suite_->start();
            return;
        }
    }
    // Nothing up to the end; the position is now past it, or was already.
    terminerEtape(b.origine, b.motif, false);
}

qsizetype Recherche::chercher(const Balayage& b, qsizetype de, qsizetype vue)
{
    if (!b.texte.estEnOctets())
        return b.texte.utf16().first(vue).indexOf(b.motif, de);
    return b.motifOctets ? b.texte.octets().first(vue).indexOf(*b.motifOctets, de) : -1;
}

void Recherche::terminerEtape(Origine origine, const QString& motifDuBalayage, bool trouve)
{
    const QString motif = motifDuBalayage; // the scan that holds it ends here
    balayage_.reset();
    suite_->stop();
    emit selectionne(position_ - 1, motif.size());
    position_ += motif.size();
    // A step that finds nothing has passed the end of the text. One that finds stops before
    // it, as the loaded text ends in CR LF; were an occurrence to end the text, the next
    // step would pass the end and still count it.
    if (trouve)
        return;
    if (etapes_ == 1)
        emit resultat(texteFinal(motif) + QStringLiteral("n'a pas été trouvé"));
    else if (etapes_ > 1)
        emit resultat(texteFinal(motif) + QStringLiteral("a été trouvé ")
                      + QString::number(etapes_ - 1) + QStringLiteral(" fois."));
    if (origine == Origine::Minuterie)
        minuterie_->stop();
    // Both ways end the same: the next step starts a new count from the beginning.
    reinitialiser();
    emit termine();
}
