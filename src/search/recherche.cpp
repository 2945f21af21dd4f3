// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/recherche.h"

#include "main_window/champ_recherche.h"
#include "main_window/form1.h"
#include "main_window/text_display.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
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

Recherche::Recherche(Form1& form)
    : QObject(&form)
    , form_(form)
    , suite_(new QTimer(this))
{
    suite_->setSingleShot(true);
    suite_->setInterval(0);
    connect(suite_, &QTimer::timeout, this, &Recherche::ContinuerBalayage);

    connect(form.CmdRecherche, &QPushButton::clicked, this, &Recherche::CmdRecherche_Click);
    connect(form.Timer1, &QTimer::timeout, this, &Recherche::Timer1_Timer);
    connect(form.ChkCherche, &QCheckBox::clicked, this, &Recherche::ChkCherche_Click);
    // Both signals also fire when the program changes the value, and only when it changes.
    connect(form.TxtRecherche, &ChampRecherche::texteModifie, this,
            &Recherche::TxtRecherche_Change);
    connect(form.ChkMaj, &QCheckBox::toggled, this, &Recherche::ChkMaj_Click);
    form.TxtRecherche->installEventFilter(this);
    // The result texts quote the search text, which must show as typed, tags and all.
    form.Label2->setTextFormat(Qt::PlainText);
}

void Recherche::Reinitialiser()
{
    PosRecherche = 1;
    NbTrouves = 0;
    // The scan worked for the state just dropped: it must neither select nor count.
    balayage_.reset();
    suite_->stop();
}

void Recherche::reglerTranches(qsizetype caracteres, std::chrono::nanoseconds duree)
{
    trancheCaracteres_ = std::max<qsizetype>(caracteres, 1);
    trancheDuree_ = duree;
}

void Recherche::CmdRecherche_Click()
{
    if (form_.TxtRecherche->text().isEmpty()) {
        form_.Label2->setText(kSautDeLigne + kSautDeLigne + QStringLiteral("Sélectionnez un mot"));
        return;
    }
    if (!form_.ChkCherche->isChecked()) {
        // One step at a time: a press while a step is scanning is dropped.
        if (!EtapeEnCours())
            Etape(Origine::Bouton);
        return;
    }
    if (!form_.Timer1->isActive())
        form_.Timer1->start();
    Reinitialiser();
}

void Recherche::Timer1_Timer()
{
    // The step still scanning is this run's; the tick after it makes the next one.
    if (EtapeEnCours())
        return;
    // Nothing to look for: keep neither the timer going nor the focus away from the box.
    if (form_.TxtRecherche->text().isEmpty()) {
        form_.Timer1->stop();
        return;
    }
    Etape(Origine::Minuterie);
}

void Recherche::ChkCherche_Click() { Reinitialiser(); }

void Recherche::TxtRecherche_Change() { Reinitialiser(); }

void Recherche::TxtRecherche_Click()
{
    if (!form_.TxtRecherche->text().isEmpty())
        form_.TxtRecherche->setText(QString());
    form_.ChkMaj->setChecked(false);
}

void Recherche::ChkMaj_Click()
{
    Reinitialiser();
    const QString texte = form_.TxtRecherche->text();
    const qsizetype longueur
        = texte.size() >= 2 && texte[0].isHighSurrogate() && texte[1].isLowSurrogate() ? 2 : 1;
    const QStringView premier = QStringView(texte).left(longueur);
    PremiereLettre = changerCasse(premier, form_.ChkMaj->isChecked());
    const QString nouveau = PremiereLettre + texte.mid(premier.size());
    if (nouveau != texte)
        form_.TxtRecherche->setText(nouveau);
}

bool Recherche::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form_.TxtRecherche && event->type() == QEvent::MouseButtonRelease) {
        const auto* souris = static_cast<QMouseEvent*>(event);
        if (souris->button() == Qt::LeftButton
            && form_.TxtRecherche->rect().contains(souris->position().toPoint()))
            TxtRecherche_Click();
    }
    return QObject::eventFilter(watched, event);
}

void Recherche::Etape(Origine origine)
{
    ++NbTrouves;
    form_.Label2->setText(kSautDeLigne + kSautDeLigne + QString::number(NbTrouves));
    // Any change of the text or of the search text resets and so ends the scan: the
    // copies stay those of the loaded text and the search box for all of it.
    balayage_ = Balayage{origine,
                         form_.Le_texte->text(),
                         form_.TxtRecherche->text(),
                         qsizetype(PosRecherche - 1),
                         qsizetype(PosRecherche),
                         false};
    ContinuerBalayage();
}

void Recherche::ContinuerBalayage()
{
    if (!balayage_)
        return;
    Balayage& b = *balayage_;
    const QStringView texte(b.texte);
    const qsizetype fin = texte.size();
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
        const qsizetype trouve = texte.first(vue).indexOf(b.motif, b.suivant);
        if (trouve >= 0) {
            PosRecherche = trouve + 1;
            TerminerEtape(b.origine, b.motif, true);
            return;
        }
        b.suivant = bout;
        PosRecherche = b.suivant + 1;
        if (b.suivant < fin && chrono.nsecsElapsed() >= trancheDuree_.count()) {
            if (!b.caretPlace) {
                // The caret waits where the scan started, as long as it runs.
                b.caretPlace = true;
                form_.Le_texte->setSelection(b.depart, 0);
            }
            suite_->start();
            return;
        }
    }
    // Nothing up to the end; PosRecherche is now past it, or was already.
    TerminerEtape(b.origine, b.motif, false);
}

void Recherche::TerminerEtape(Origine origine, const QString& motifDuBalayage, bool trouve)
{
    const QString motif = motifDuBalayage; // the scan that holds it ends here
    balayage_.reset();
    suite_->stop();
    form_.Le_texte->setSelection(PosRecherche - 1, motif.size());
    form_.Le_texte->setFocus();
    PosRecherche += motif.size();
    // A step that finds nothing has passed the end of the text. One that finds stops before
    // it, as the loaded text ends in CR LF; were an occurrence to end the text, the next
    // step would pass the end and still count it.
    if (trouve)
        return;
    if (NbTrouves == 1)
        form_.Label2->setText(texteFinal(motif) + QStringLiteral("n'a pas été trouvé"));
    else if (NbTrouves > 1)
        form_.Label2->setText(texteFinal(motif) + QStringLiteral("a été trouvé ")
                              + QString::number(NbTrouves - 1) + QStringLiteral(" fois."));
    if (origine == Origine::Minuterie)
        form_.Timer1->stop();
    // Both ways end the same: the next step starts a new count from the beginning.
    Reinitialiser();
}
