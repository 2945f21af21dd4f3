// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_view/vue_texte.h"

#include "text_view/positions_texte.h"
#include "text_view/rendu_lignes.h"
#include "text_view/vue_texte_accessible.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <cmath>

// What a key does: the move without Shift, the same extending the selection with it.
struct VueTexte::Touche {
    QKeySequence::StandardKey deplacer;
    QKeySequence::StandardKey etendre; // UnknownKey when Shift changes nothing
    bool gardeColonne; // up and down moves aim at the column where they began
    void (*agir)(VueTexte& vue, bool etendre);
};

std::span<const VueTexte::Touche> VueTexte::touches()
{
    using Cle = QKeySequence;
    static const Touche table[] = {
        {Cle::MoveToNextChar, Cle::SelectNextChar, false,
         [](VueTexte& d, bool e) {
             d.deplacerCurseur(positionSuivante(d.texte(), d.curseur_), e);
         }},
        {Cle::MoveToPreviousChar, Cle::SelectPreviousChar, false,
         [](VueTexte& d, bool e) {
             d.deplacerCurseur(positionPrecedente(d.texte(), d.curseur_), e);
         }},
        {Cle::MoveToNextWord, Cle::SelectNextWord, false,
         [](VueTexte& d, bool e) { d.deplacerCurseur(motSuivant(d.texte(), d.curseur_), e); }},
        {Cle::MoveToPreviousWord, Cle::SelectPreviousWord, false,
         [](VueTexte& d, bool e) { d.deplacerCurseur(motPrecedent(d.texte(), d.curseur_), e); }},
        {Cle::MoveToNextLine, Cle::SelectNextLine, true,
         [](VueTexte& d, bool e) { d.deplacerCurseur(d.positionVerticale(1), e); }},
        {Cle::MoveToPreviousLine, Cle::SelectPreviousLine, true,
         [](VueTexte& d, bool e) { d.deplacerCurseur(d.positionVerticale(-1), e); }},
        {Cle::MoveToNextPage, Cle::SelectNextPage, true,
         [](VueTexte& d, bool e) {
             const int page = d.lignesVisibles();
             d.verticalScrollBar()->setValue(d.verticalScrollBar()->value() + page);
             d.deplacerCurseur(d.positionVerticale(page), e);
         }},
        {Cle::MoveToPreviousPage, Cle::SelectPreviousPage, true,
         [](VueTexte& d, bool e) {
             const int page = d.lignesVisibles();
             d.verticalScrollBar()->setValue(d.verticalScrollBar()->value() - page);
             d.deplacerCurseur(d.positionVerticale(-page), e);
         }},
        {Cle::MoveToStartOfLine, Cle::SelectStartOfLine, false,
         [](VueTexte& d, bool e) {
             d.deplacerCurseur(d.lignes_.debut(d.lignes_.ligneDe(d.curseur_)), e);
         }},
        {Cle::MoveToEndOfLine, Cle::SelectEndOfLine, false,
         [](VueTexte& d, bool e) {
             d.deplacerCurseur(d.lignes_.fin(d.lignes_.ligneDe(d.curseur_)), e);
         }},
        {Cle::MoveToStartOfDocument, Cle::SelectStartOfDocument, false,
         [](VueTexte& d, bool e) { d.deplacerCurseur(0, e); }},
        {Cle::MoveToEndOfDocument, Cle::SelectEndOfDocument, false,
         [](VueTexte& d, bool e) { d.deplacerCurseur(d.texte().size(), e); }},
        {Cle::SelectAll, Cle::UnknownKey, true, [](VueTexte& d, bool) { d.toutSelectionner(); }},
        {Cle::Copy, Cle::UnknownKey, true, [](VueTexte& d, bool) { d.copierSelection(); }},
    };
    return table;
}

VueTexte::VueTexte(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    installerAccessibiliteVueTexte();
    metriques_.definirPolice(font());
    ajusterBarres();
}

void VueTexte::definirTexte(const QString& texte)
{
    const Texte t(texte);
    definirTexte(t, IndexLignes(t));
}

void VueTexte::definirTexte(const Texte& texte, IndexLignes index)
{
    const bool memeTexte = index.texte().memesDonnees(texte);
    lignes_ = memeTexte ? std::move(index) : IndexLignes(texte);
    ancre_ = curseur_ = 0;
    xVise_ = -1;
    metriques_.oublierLignes();
    ajusterBarres();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void VueTexte::definirSelection(qsizetype debut, qsizetype longueur)
{
    const qsizetype taille = texte().size();
    debut = std::clamp<qsizetype>(debut, 0, taille);
    const qsizetype fin
        = std::clamp<qsizetype>(debut + std::max<qsizetype>(longueur, 0), debut, taille);
    ancre_ = positionNormalisee(texte(), debut);
    curseur_ = positionNormalisee(texte(), fin);
    xVise_ = -1;
    montrerCurseur();
    selectionChangee(false);
}

qsizetype VueTexte::debutSelection() const { return std::min(ancre_, curseur_); }

qsizetype VueTexte::longueurSelection() const { return std::abs(curseur_ - ancre_); }

void VueTexte::definirPointeur(const QCursor& pointeur) { viewport()->setCursor(pointeur); }

// --- Positions on screen ---------------------------------------------------------------------

// x of a position from the start of its line, in pixels.
double VueTexte::xDe(qsizetype position) const
{
    const qsizetype numero = lignes_.ligneDe(position);
    return metriques_.x(numero, ligne(numero), position - lignes_.debut(numero));
}

qsizetype VueTexte::positionEn(QPoint point) const
{
    const int rang
        = point.y() < kMargeHaut ? -1 : (point.y() - kMargeHaut) / metriques_.hauteurLigne();
    const qsizetype numero
        = std::clamp<qsizetype>(premiereLigneVisible() + rang, 0, nombreLignes() - 1);
    const double x = point.x() - kMargeGauche + horizontalScrollBar()->value();
    return positionNormalisee(
        texte(), lignes_.debut(numero) + metriques_.colonneProche(numero, ligne(numero), x));
}

qsizetype VueTexte::positionVerticale(qsizetype lignes)
{
    if (xVise_ < 0)
        xVise_ = xDe(curseur_);
    const qsizetype cible
        = std::clamp<qsizetype>(lignes_.ligneDe(curseur_) + lignes, 0, nombreLignes() - 1);
    return lignes_.debut(cible) + metriques_.colonneProche(cible, ligne(cible), xVise_);
}

QPoint VueTexte::pointDe(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, texte().size());
    const qsizetype numero = lignes_.ligneDe(position);
    const double x = xDe(position) - horizontalScrollBar()->value() + kMargeGauche;
    const qsizetype y = kMargeHaut + (numero - premiereLigneVisible()) * metriques_.hauteurLigne();
    return {int(std::lround(std::clamp<double>(x, INT_MIN / 2, INT_MAX / 2))),
            int(std::clamp<qsizetype>(y, INT_MIN / 2, INT_MAX / 2))};
}

qsizetype VueTexte::premiereLigneVisible() const { return verticalScrollBar()->value(); }

int VueTexte::lignesVisibles() const
{
    return std::max(1, (viewport()->height() - kMargeHaut) / metriques_.hauteurLigne());
}

void VueTexte::ajusterBarres()
{
    const int rangs = lignesVisibles();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setSingleStep(1);
    vertical->setPageStep(rangs);
    vertical->setRange(
        0, int(std::min<qsizetype>(INT_MAX, std::max<qsizetype>(0, nombreLignes() - rangs))));

    // The longest line at the average width until lines in view are really measured.
    largeurPlage_ = metriques_.largeurMesuree();
    const double largeur
        = std::max(double(lignes_.plusLongue()) * metriques_.largeurMoyenne(), largeurPlage_)
        + 2 * kMargeGauche;
    const int largeurVue = viewport()->width();
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setSingleStep(std::max(1, int(metriques_.largeurMoyenne() * 2)));
    horizontal->setPageStep(std::max(1, largeurVue));
    horizontal->setRange(0, int(std::clamp<double>(largeur - largeurVue, 0, INT_MAX / 2)));
}

// --- Selection and moves ---------------------------------------------------------------------

void VueTexte::deplacerCurseur(qsizetype position, bool etendre)
{
    // The keys, the mouse and the up and down moves never part a letter from its marks.
    curseur_ = debutGrapheme(texte(), positionNormalisee(texte(), position));
    if (!etendre)
        ancre_ = curseur_;
    montrerCurseur();
    selectionChangee(true);
}

void VueTexte::selectionChangee(bool parLUtilisateur)
{
    viewport()->update();
    if (!QAccessible::isActive())
        return;
    // A reader takes a while over each move: of a fast run of moves by the program, such as
    // an automatic search, it hears where the run stands every so often and where it stops.
    // The keys and the mouse are heard at once, as the reader ties what it says to them.
    const qint64 ecoule = depuisAnnonce_.isValid() ? depuisAnnonce_.elapsed() : kPauseAnnonce;
    if (!parLUtilisateur && ecoule < kPauseAnnonce) {
        if (!annonceEnAttente_.isActive())
            annonceEnAttente_.start(int(kPauseAnnonce - ecoule), this);
        return;
    }
    annoncerSelection();
}

void VueTexte::annoncerSelection()
{
    annonceEnAttente_.stop();
    depuisAnnonce_.start();
    QAccessibleTextCursorEvent deplace(this, int(curseur_));
    QAccessible::updateAccessibility(&deplace);
    QAccessibleTextSelectionEvent selection(this, int(debutSelection()),
                                            int(debutSelection() + longueurSelection()));
    QAccessible::updateAccessibility(&selection);
}

void VueTexte::montrerCurseur() { montrer(curseur_, ancre_); }

// Scrolls as little as needed to show position, and autre too when it is on the same line.
void VueTexte::montrer(qsizetype position, qsizetype autre)
{
    const qsizetype numero = lignes_.ligneDe(position);
    const int rangs = lignesVisibles();
    QScrollBar* vertical = verticalScrollBar();
    if (numero < vertical->value())
        vertical->setValue(int(numero));
    else if (numero >= vertical->value() + rangs)
        vertical->setValue(int(numero - rangs + 1));

    const double xPosition = xDe(position);
    const double xAutre = lignes_.ligneDe(autre) == numero ? xDe(autre) : xPosition;
    const double gauche = std::min(xPosition, xAutre);
    const double droite = std::max(xPosition, xAutre);
    // Measuring may just have found the line wider than the range knew.
    metriques_.elargir(droite);
    ajusterBarres();
    const int place = std::max(1, viewport()->width() - 2 * kMargeGauche);
    QScrollBar* horizontal = horizontalScrollBar();
    double defilement = horizontal->value();
    if (droite - gauche > place)
        defilement = xPosition - (xPosition >= xAutre ? place : 0);
    else if (gauche < defilement)
        defilement = gauche;
    else if (droite > defilement + place)
        defilement = droite - place;
    horizontal->setValue(int(std::floor(defilement)));
}

void VueTexte::copierSelection() const
{
    if (longueurSelection() > 0)
        QGuiApplication::clipboard()->setText(texte().mid(debutSelection(), longueurSelection()));
}

void VueTexte::toutSelectionner()
{
    ancre_ = 0;
    curseur_ = texte().size();
    selectionChangee(true);
}

QMenu* VueTexte::creerMenuContextuel()
{
    auto* menu = new QMenu(this);
    // The keys are shown beside the entries, where people who do not know them find them.
    const auto touche = [](QKeySequence::StandardKey cle) {
        return u'\t' + QKeySequence(cle).toString(QKeySequence::NativeText);
    };
    QAction* copier = menu->addAction(QStringLiteral("&Copier") + touche(QKeySequence::Copy), this,
                                      [this] { copierSelection(); });
    copier->setEnabled(longueurSelection() > 0);
    QAction* tout
        = menu->addAction(QStringLiteral("Tout &sélectionner") + touche(QKeySequence::SelectAll),
                          this, [this] { toutSelectionner(); });
    tout->setEnabled(!texte().isEmpty());
    if (!actions().isEmpty()) {
        menu->addSeparator();
        menu->addActions(actions());
    }
    return menu;
}

void VueTexte::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint ou = event->globalPos();
    if (event->reason() != QContextMenuEvent::Mouse) {
        // From the keyboard: under the caret, or at the edge of the view when it is out of sight.
        const QRect vue = viewport()->rect();
        const QPoint curseur = pointDe(curseur_) + QPoint(0, fontMetrics().height());
        ou = viewport()->mapToGlobal(QPoint(std::clamp(curseur.x(), vue.left(), vue.right()),
                                            std::clamp(curseur.y(), vue.top(), vue.bottom())));
    }
    QMenu* menu = creerMenuContextuel();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(ou);
}

bool VueTexte::event(QEvent* event)
{
    // The keys this box acts on are not window shortcuts while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* cle = static_cast<QKeyEvent*>(event);
        for (const Touche& touche : touches()) {
            if (cle->matches(touche.deplacer) || cle->matches(touche.etendre)) {
                event->accept();
                return true;
            }
        }
    }
    return QAbstractScrollArea::event(event);
}

void VueTexte::keyPressEvent(QKeyEvent* event)
{
    // The menu key, and Shift+F10 on keyboards without one.
    if (event->key() == Qt::Key_Menu
        || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QPoint(), event->modifiers());
        contextMenuEvent(&menu);
        return;
    }
    for (const Touche& touche : touches()) {
        const bool etendre
            = touche.etendre != QKeySequence::UnknownKey && event->matches(touche.etendre);
        if (!etendre && !event->matches(touche.deplacer))
            continue;
        if (!touche.gardeColonne)
            xVise_ = -1;
        touche.agir(*this, etendre);
        return;
    }
    event->ignore();
}

void VueTexte::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    xVise_ = -1;
    glisse_ = true;
    deplacerCurseur(positionEn(event->position().toPoint()),
                    event->modifiers().testFlag(Qt::ShiftModifier));
}

void VueTexte::mouseMoveEvent(QMouseEvent* event)
{
    if (!glisse_ || !event->buttons().testFlag(Qt::LeftButton))
        return;
    pointGlisse_ = event->position().toPoint();
    deplacerCurseur(positionEn(pointGlisse_), true);
    if (viewport()->rect().contains(pointGlisse_))
        defilementGlisse_.stop();
    else if (!defilementGlisse_.isActive())
        defilementGlisse_.start(50, this);
}

void VueTexte::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        glisse_ = false;
        defilementGlisse_.stop();
    }
}

void VueTexte::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == annonceEnAttente_.timerId()) {
        annoncerSelection();
        return;
    }
    if (event->timerId() != defilementGlisse_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    if (!glisse_) {
        defilementGlisse_.stop();
        return;
    }
    // Positions past an edge of the view lie beyond it, so each step scrolls a little.
    deplacerCurseur(positionEn(pointGlisse_), true);
}

void VueTexte::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const auto [debut, fin] = motAutour(texte(), positionEn(event->position().toPoint()));
    ancre_ = debut;
    deplacerCurseur(fin, true);
}

void VueTexte::focusInEvent(QFocusEvent* event)
{
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void VueTexte::focusOutEvent(QFocusEvent* event)
{
    glisse_ = false;
    defilementGlisse_.stop();
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void VueTexte::scrollContentsBy(int, int) { viewport()->update(); }

void VueTexte::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    ajusterBarres();
}

void VueTexte::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        metriques_.definirPolice(font());
        ajusterBarres();
        viewport()->update();
    }
}

// --- Painting --------------------------------------------------------------------------------

void VueTexte::paintEvent(QPaintEvent*)
{
    QPainter peintre(viewport());
    const QPalette::ColorGroup groupe = hasFocus() ? QPalette::Active : QPalette::Inactive;
    RenduLignes::Cadre cadre;
    cadre.premiere = premiereLigneVisible();
    cadre.rangs = lignesVisibles();
    cadre.defilement = horizontalScrollBar()->value();
    cadre.largeur = viewport()->width();
    cadre.debutSelection = debutSelection();
    cadre.finSelection = debutSelection() + longueurSelection();
    if (hasFocus())
        cadre.curseur = pointDe(curseur_);
    cadre.texte = palette().color(QPalette::Text);
    cadre.pinceauCurseur = palette().text();
    cadre.surlignage = palette().color(groupe, QPalette::Highlight);
    cadre.texteSurligne = palette().color(groupe, QPalette::HighlightedText);
    RenduLignes(lignes_, metriques_).dessiner(peintre, cadre);
    // Widening the range now would repaint within this paint: after it.
    if (metriques_.largeurMesuree() > largeurPlage_ + 0.5 && !plageEnAttente_) {
        plageEnAttente_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                plageEnAttente_ = false;
                ajusterBarres();
            },
            Qt::QueuedConnection);
    }
}
