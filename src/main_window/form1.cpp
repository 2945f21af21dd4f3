// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/form1.h"

#include "analysis/analyse.h"
#include "analysis/liste_csv.h"
#include "analysis/occurrences.h"
#include "assets/apparence.h"
#include "document/enregistrement.h"
#include "document/fichier_texte.h"
#include "document/ouverture.h"
#include "help_window/frm_about.h"
#include "help_window/libelle_cliquable.h"
#include "main_window/annonce.h"
#include "main_window/case_multiligne.h"
#include "main_window/champ_recherche.h"
#include "main_window/libelle_ajuste.h"
#include "main_window/style_cadre.h"
#include "platform/choix_fichier.h"
#include "platform/clavier.h"
#include "platform/habillage.h"
#include "platform/jamais_reduite.h"
#include "search/recherche.h"
#include "text_view/vue_texte.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

// The result label at rest: at start its leading blanks push the word down, after an open two
// line breaks do.
const QString kResultatDepart = QString(73, u' ') + QStringLiteral("Résultat");
const QString kResultatRepos = QStringLiteral("\r\n\r\n Résultat");

template <typename W>
W* creerElement(QWidget* conteneur, const char* nom, QRect geometrie)
{
    auto* element = new W(conteneur);
    element->setObjectName(QLatin1String(nom));
    element->setGeometry(geometrie);
    return element;
}

void remplirFond(QWidget* element, QColor couleur)
{
    apparence::colorer(element, QPalette::Window, couleur);
    // Buttons, check boxes among them, would otherwise fill with their button colour.
    element->setBackgroundRole(QPalette::Window);
    element->setAutoFillBackground(true);
}

// Plain text: a caption taken from a file, a count or a search never reads as markup.
template <typename L = QLabel>
L* creerLibelle(QWidget* conteneur, const char* nom, QRect geometrie, const QString& texte,
                Qt::Alignment alignement = Qt::AlignHCenter | Qt::AlignTop)
{
    auto* libelle = creerElement<L>(conteneur, nom, geometrie);
    libelle->setTextFormat(Qt::PlainText);
    libelle->setText(texte);
    libelle->setAlignment(alignement);
    return libelle;
}

QPushButton* creerBoutonImage(QWidget* conteneur, const char* nom, QRect geometrie,
                              const QIcon& icone, const QString& infoBulle)
{
    auto* bouton = creerElement<QPushButton>(conteneur, nom, geometrie);
    bouton->setIcon(icone);
    bouton->setIconSize(QSize(32, 32));
    bouton->setToolTip(infoBulle);
    // No caption: screen readers read the tool tip's words.
    bouton->setAccessibleName(infoBulle.trimmed());
    // Else the tool tip again, blanks and all, which readers would speak after the name.
    bouton->setAccessibleDescription(infoBulle.trimmed());
    bouton->setCursor(apparence::curseurMain());
    // Return presses the focused button, as Space does.
    bouton->setAutoDefault(true);
    return bouton;
}

} // namespace

Form1::Form1(const Plateforme& plateforme, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , plateforme_(plateforme)
    , fond_(apparence::fond())
    , recherche_(new Recherche(this))
    , annonceur_(new Annonceur(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString());
    nommerFenetre(this, QStringLiteral("Lexorquine"));
    setWindowIcon(apparence::iconeProgramme());
    setFixedSize(710, 482);
    setFont(apparence::policeClassique(8.25, true));
    apparence::colorer(this, QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    creerElements();
    relierRecherche();
    creerMenuListe();
    setAcceptDrops(true);
    empecherReduction(this);
    garderLeClavier(this);
    Form_Load();
}

Form1::~Form1()
{
    if (travail_) {
        // Every step of the work looks at the request within a few megabytes: this wait is
        // short, and nothing is left running behind the window.
        arret_.request_stop();
        travail_->waitForFinished();
        qApp->removeEventFilter(this);
        QGuiApplication::restoreOverrideCursor();
    }
}

frmAbout* Form1::aide() const { return aide_; }

void Form1::creerElements()
{
    const QFont title = apparence::policeClassique(18, true);
    Lbltitre2 = creerLibelle(this, "Lbltitre2", {290, 24, 169, 25}, QStringLiteral("LEXORQUINE"));
    Lbltitre2->setFont(title);
    apparence::colorer(Lbltitre2, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    LblTitre1 = creerLibelle(this, "LblTitre1", {296, 24, 153, 25}, QStringLiteral("LEXORQUINE"));
    LblTitre1->setFont(title);
    apparence::colorer(LblTitre1, QPalette::WindowText, QColor(0xE0, 0xE0, 0xE0));

    // Created before the button it touches, so the button stays on top.
    Label3 = creerElement<LibelleCliquable>(this, "Label3", {43, 24, 41, 41});
    Label3->setTextFormat(Qt::PlainText);
    Label3->setText(QStringLiteral("Ouvrir        un dossier"));
    Label3->setAccessibleName(Label3->text().simplified());
    Label3->setFont(apparence::policeClassique(8.25, false));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setWordWrap(true);
    connect(Label3, &LibelleCliquable::clique, this, &Form1::Label3_Click);

    Cmdouvrir = creerBoutonImage(this, "Cmdouvrir", {80, 26, 37, 37}, apparence::iconeProgramme(),
                                 QStringLiteral(" Ouvrir un fichier "));
    Cmdouvrir->setFont(apparence::policeClassique(8.25, false));
    connect(Cmdouvrir, &QPushButton::clicked, this, &Form1::Cmdouvrir_Click);
    CmdAide = creerBoutonImage(this, "CmdAide", {128, 26, 37, 37}, apparence::iconeAide(),
                               QStringLiteral(" Aide "));
    connect(CmdAide, &QPushButton::clicked, this, &Form1::CmdAide_Click);
    CmdQuit = creerBoutonImage(this, "CmdQuit", {640, 26, 37, 37}, apparence::iconeQuitter(),
                               QStringLiteral(" Quitter "));
    connect(CmdQuit, &QPushButton::clicked, this, &Form1::CmdQuit_Click);

    Le_texte = creerElement<VueTexte>(this, "Le_texte", {32, 72, 649, 193});
    Le_texte->setFont(apparence::policeClassique(8.25, false));
    apparence::colorer(Le_texte, QPalette::Base, QColor(0xFF, 0xFF, 0xC0));
    Le_texte->definirPointeur(QCursor(Qt::ArrowCursor));
    Le_texte->setAccessibleName(QStringLiteral("Texte du fichier"));

    Label1 = creerLibelle<LibelleAjuste>(this, "Label1", {40, 272, 649, 17},
                                         QStringLiteral("Adresse du fichier"));

    creerCadreAnalyse();
    creerCadreRecherche();

    Timer1 = recherche_->minuterie();
}

void Form1::creerCadreAnalyse()
{
    Fram2 = creerElement<QGroupBox>(this, "Fram2", {32, 304, 305, 145});
    Fram2->setTitle(QStringLiteral("  Analyse"));
    Fram2->setAccessibleName(Fram2->title().simplified());
    Fram2->setFont(apparence::policeClassique(9.75, true));
    remplirFond(Fram2, QColor(0xC0, 0xC0, 0xC0));
    Fram2->setStyle(StyleCadre::commun());

    Lignes = creerLibelle<LibelleAjuste>(Fram2, "Lignes", {8, 32, 121, 17},
                                         QStringLiteral("Nombre de lignes"));
    LblMots = creerLibelle<LibelleAjuste>(Fram2, "LblMots", {8, 56, 121, 17},
                                          QStringLiteral("Nombre de mots"));
    LblMotsDiff = creerLibelle<LibelleAjuste>(Fram2, "LblMotsDiff", {8, 80, 121, 17},
                                              QStringLiteral("Mots uniques"));
    Caract = creerLibelle<LibelleAjuste>(Fram2, "Caract", {5, 104, 127, 17},
                                         QStringLiteral("Nombre de caractères"));

    Resultat_Txt = creerElement<VueTexte>(Fram2, "Resultat_Txt", {136, 16, 153, 121});
    apparence::colorer(Resultat_Txt, QPalette::Base, QColor(0xC0, 0xFF, 0xFF));
    Resultat_Txt->setToolTip(QStringLiteral(" Occurrences avec ou sans majuscule."));
    Resultat_Txt->setCursor(apparence::curseurMain());
    Resultat_Txt->definirPointeur(apparence::curseurMain());
    // Else named after its frame.
    Resultat_Txt->setAccessibleName(QStringLiteral("Occurrences des mots"));
    Resultat_Txt->setAccessibleDescription(Resultat_Txt->toolTip().simplified());
    // The heading of an empty report; before the first analysis it ends with a line break.
    Resultat_Txt->definirTexte(TableOccurrences().Rapport() + QStringLiteral("\r\n"));
}

void Form1::creerCadreRecherche()
{
    Frame1 = creerElement<QGroupBox>(this, "Frame1", {360, 304, 321, 145});
    Frame1->setTitle(QStringLiteral("  Recherche:  mot ou  groupe de caractères"));
    Frame1->setAccessibleName(Frame1->title().simplified());
    Frame1->setFont(apparence::policeClassique(9.75, true));
    remplirFond(Frame1, QColor(0xC0, 0xC0, 0xC0));
    Frame1->setStyle(StyleCadre::commun());

    TxtRecherche = creerElement<ChampRecherche>(Frame1, "TxtRecherche", {16, 24, 137, 19});
    TxtRecherche->setFont(apparence::policeClassique(8.25, false));
    TxtRecherche->setAlignment(Qt::AlignHCenter);
    TxtRecherche->setCursor(apparence::curseurMain());
    TxtRecherche->setToolTip(
        QStringLiteral(" Caractère(s)  englobé(s)  dans un mot ou  groupe de mots. "));
    TxtRecherche->setAccessibleName(QStringLiteral("Texte à rechercher"));
    TxtRecherche->setAccessibleDescription(TxtRecherche->toolTip().simplified());

    ChkMaj = creerElement<CaseMultiligne>(Frame1, "ChkMaj", {24, 56, 121, 25});
    ChkMaj->setText(QStringLiteral("Première lettre en majuscule"));
    remplirFond(ChkMaj, QColor(0xC0, 0xC0, 0xC0));
    ChkMaj->setCursor(apparence::curseurMain());

    CmdRecherche = creerElement<QPushButton>(Frame1, "CmdRecherche", {40, 96, 89, 21});
    CmdRecherche->setText(QStringLiteral("Rechercher"));
    CmdRecherche->setCursor(apparence::curseurMain());
    CmdRecherche->setAutoDefault(true);

    ChkCherche = creerElement<QCheckBox>(Frame1, "ChkCherche", {64, 120, 49, 13});
    ChkCherche->setText(QStringLiteral("Auto"));
    ChkCherche->setChecked(true);
    remplirFond(ChkCherche, QColor(0xC0, 0xC0, 0xC0));
    ChkCherche->setCursor(apparence::curseurMain());

    auto* resultat = creerElement<LibelleAjuste>(Frame1, "Label2", {160, 48, 145, 65});
    Label2 = resultat;
    // Before its first caption, which would show it to assistive technologies as it was.
    marquerCommeEtat(resultat);
    resultat->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    resultat->setWordWrap(true);
    resultat->setText(kResultatDepart);
    // Where the blanks alone would leave it depends on the width of a blank: it stands where
    // it will after an open, so that it does not jump then.
    resultat->dessinerComme(kResultatDepart, kResultatRepos);
    remplirFond(Label2, QColor(0xE0, 0xE0, 0xE0));
}

// The search computes and tells; the elements of its frame only feed it and show.
void Form1::relierRecherche()
{
    Recherche* r = recherche_;
    connect(CmdRecherche, &QPushButton::clicked, this, &Form1::CmdRecherche_Click);
    // The step gives the text the focus: F3 goes on from there, or from anywhere.
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this,
            &Form1::CmdRecherche_Click);
    connect(TxtRecherche, &QLineEdit::returnPressed, this, &Form1::CmdRecherche_Click);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    r->definirAuto(ChkCherche->isChecked());
    connect(ChkCherche, &QCheckBox::toggled, r, &Recherche::definirAuto);
    connect(ChkCherche, &QCheckBox::clicked, this, &Form1::ChkCherche_Click);
    // Both signals also fire when the program changes the value, and only when it changes.
    connect(TxtRecherche, &ChampRecherche::texteModifie, this, &Form1::TxtRecherche_Change);
    connect(ChkMaj, &QCheckBox::toggled, this, &Form1::ChkMaj_Click);
    TxtRecherche->installEventFilter(this);

    connect(r, &Recherche::resultat, this, [this](const QString& texte) {
        Label2->setText(texte);
        annonceur_->annoncer(texte);
    });
    connect(r, &Recherche::selectionne, this, [this](qsizetype debut, qsizetype longueur) {
        Le_texte->definirSelection(debut, longueur);
        Le_texte->setFocus();
    });
    connect(r, &Recherche::attend, this,
            [this](qsizetype debut) { Le_texte->definirSelection(debut, 0); });
    connect(r, &Recherche::motifChange, this, [this](const QString& motif) {
        if (TxtRecherche->text() != motif)
            TxtRecherche->setText(motif);
    });
    connect(r, &Recherche::majusculeChangee, ChkMaj, &QCheckBox::setChecked);
}

namespace {

bool estEntreeUtilisateur(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

bool Form1::eventFilter(QObject* surveille, QEvent* evenement)
{
    // While an open works, input is dropped rather than kept for later; the window manager's
    // close, which a grab of the dialog gone may have kept from it, still closes.
    if (ouvertureEnCours() && estEntreeUtilisateur(evenement->type())
        && (surveille->isWidgetType() || surveille->isWindowType())
        && !(evenement->type() == QEvent::KeyPress
             && estRaccourciFermeture(*static_cast<QKeyEvent*>(evenement))))
        return true;
    // A file dropped on the search box opens like one dropped anywhere else on the window.
    if (surveille == TxtRecherche
        && (evenement->type() == QEvent::DragEnter || evenement->type() == QEvent::DragMove
            || evenement->type() == QEvent::Drop)
        && static_cast<QDropEvent*>(evenement)->mimeData()->urls().value(0).isLocalFile()) {
        recevoirGlisser(static_cast<QDropEvent*>(evenement));
        return true;
    }
    if (surveille == TxtRecherche && evenement->type() == QEvent::MouseButtonRelease) {
        const auto* souris = static_cast<QMouseEvent*>(evenement);
        if (souris->button() == Qt::LeftButton
            && TxtRecherche->rect().contains(souris->position().toPoint()))
            TxtRecherche_Click();
    }
    return QWidget::eventFilter(surveille, evenement);
}

void Form1::Form_Load()
{
    plateforme_.habillage->arrondirContour(this, QRect(1, 1, 709, 481), 15);
    recherche_->reinitialiser();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // Bigger than the screen: its top-left corner, and the buttons there, stay on it.
        const QRect disponible = screen->availableGeometry();
        move(disponible.left() + std::max(0, (disponible.width() - width()) / 2),
             disponible.top() + std::max(0, (disponible.height() - height()) / 2));
    }
    plateforme_.habillage->cacherDeLaBarreDesTaches(this);
    Le_texte->setFocus();
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closed by the window manager (Alt+F4): the same as the quit button.
    event->ignore();
    CmdQuit_Click();
}

void Form1::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawPixmap(0, 0, fond_);
}

void Form1::mousePressEvent(QMouseEvent* event)
{
    // Presses that an element let through (labels, frames) are not on the background.
    if (childAt(event->position().toPoint()) == nullptr)
        Form_MouseDown(event->button());
}

void Form1::Form_MouseDown(Qt::MouseButton bouton)
{
    if (bouton != Qt::LeftButton)
        return;
    plateforme_.habillage->garderAuPremierPlan(this);
    plateforme_.habillage->commencerDeplacement(this);
}

void Form1::CmdQuit_Click()
{
    if (aide_ && aide_->isVisible())
        aide_->hide();
    if (ouvertureEnCours())
        hide(); // the open under way gives up at its next step, out of sight
    plateforme_.finirProgramme();
}

void Form1::CmdAide_Click()
{
    if (!aide_)
        aide_ = new frmAbout(*plateforme_.lanceur, this);
    if (aide_->isMinimized())
        aide_->showNormal();
    aide_->show();
    aide_->raise();
    aide_->activateWindow();
}

void Form1::CmdRecherche_Click() { recherche_->appuyer(); }

void Form1::Timer1_Timer() { recherche_->tic(); }

void Form1::ChkCherche_Click() { recherche_->basculerAuto(); }

void Form1::TxtRecherche_Change() { recherche_->definirMotif(TxtRecherche->text()); }

void Form1::TxtRecherche_Click() { recherche_->viderMotif(); }

void Form1::ChkMaj_Click() { recherche_->definirMajuscule(ChkMaj->isChecked()); }

void Form1::Cmdouvrir_Click() { OuvrirFichier(); }

void Form1::Label3_Click() { OuvrirFichier(); }

void Form1::OuvrirFichier()
{
    if (ouvertureEnCours())
        return; // one open at a time
    ouvrir(plateforme_.fichiers->choisirFichierTexte(this));
}

void Form1::ouvrir(const QString& chemin)
{
    if (ouvertureEnCours())
        return;
    if (chemin.isEmpty())
        return; // cancelled: everything stays as it was
    if (!aExtensionTexte(chemin)) {
        plateforme_.fichiers->montrerErreur(
            this,
            QStringLiteral("« %1 » n'est pas un fichier texte (.txt).")
                .arg(QFileInfo(chemin).fileName()));
        return;
    }
    CommencerOuverture(chemin);
}

// From here until the result is shown the window takes no input and shows the busy pointer, as
// if the work ran here; it runs on another thread so that the window still paints and answers
// the window manager however big the text.
void Form1::CommencerOuverture(const QString& chemin)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    recherche_->reinitialiser();
    minuterieActive_ = Timer1->isActive();
    Timer1->stop();
    qApp->installEventFilter(this);
    arret_ = std::stop_source();
    travail_ = new QFutureWatcher<Ouverture>(this);
    connect(travail_, &QFutureWatcherBase::finished, this, &Form1::TerminerOuverture);
    travail_->setFuture(
        QtConcurrent::run([chemin, arret = arret_.get_token(), fils = filsAnalyse_] {
            return preparerOuverture(chemin, arret, memoireDisponible, kTailleBlocLecture, fils);
        }));
}

void Form1::TerminerOuverture()
{
    Ouverture ouverture;
    try {
        ouverture = travail_->future().takeResult();
    } catch (...) {
        // The work itself turns its failures into a message; this is what is left when even
        // handing over the result failed.
        ouverture.erreur = QStringLiteral(
            "Impossible d'ouvrir le fichier : une erreur inattendue a interrompu l'ouverture.");
    }
    travail_->deleteLater();
    travail_ = nullptr;
    qApp->removeEventFilter(this);
    if (ouverture.document) {
        ChargerFichier(ouverture.chemin, *ouverture.document);
        Le_texte->setFocus(); // the keyboard goes to the text just opened
        annonceur_->annoncer(
            QStringList{Lignes->text(), Caract->text(), LblMots->text(), LblMotsDiff->text()}.join(
                QStringLiteral(", ")));
    }
    QGuiApplication::restoreOverrideCursor();
    if (minuterieActive_)
        Timer1->start();
    if (!ouverture.erreur.isEmpty())
        plateforme_.fichiers->montrerErreur(this, ouverture.erreur); // nothing shown has changed
}

// The text just read and its counts, then the analysis, in the order the window always showed
// them.
void Form1::ChargerFichier(const QString& chemin, DocumentOuvert& document)
{
    NomFichier = chemin;
    FichierChoisi = true;
    NbLignes = document.charge.lignesNonVides;
    const Texte texte = document.charge.texte;
    Le_texte->definirTexte(texte, std::move(document.charge.lignes));
    // A search under way worked on the old text: it stops here.
    recherche_->definirTexte(texte);
    Lignes->setText(QString::number(NbLignes) + QStringLiteral(" lignes"));
    Caract->setText(QString::number(document.charge.caracteres) + QStringLiteral(" Caractères"));
    ApresChargement(document);
}

// The counts, the search display, the path and the occurrence report of the text just loaded.
void Form1::ApresChargement(DocumentOuvert& document)
{
    const AnalyseComplete& analyse = document.analyse;
    LblMots->setText(QString::number(analyse.mots) + QStringLiteral(" Mots"));
    LblMotsDiff->setText(QString::number(analyse.motsDifferents)
                         + QStringLiteral(" Mots différents"));
    TxtRecherche->setText(QString());
    Label2->setText(kResultatRepos);
    Label1->setText(NomFichier);
    AfficherOccurrences(document);
}

void Form1::AfficherOccurrences(DocumentOuvert& document)
{
    Resultat_Txt->definirTexte(document.analyse.rapport, std::move(document.lignesRapport));
    table_ = std::move(document.analyse.table);
    actionListe_->setEnabled(table_.NbMotsTab() > 0);
}

// The report's own menu also takes the list out, for a spreadsheet.
void Form1::creerMenuListe()
{
    actionListe_ = new QAction(QStringLiteral("&Enregistrer la liste…"), this);
    actionListe_->setEnabled(false);
    connect(actionListe_, &QAction::triggered, this, &Form1::EnregistrerListe);
    Resultat_Txt->addAction(actionListe_);
}

void Form1::EnregistrerListe()
{
    if (ouvertureEnCours() || table_.NbMotsTab() == 0)
        return;
    const QString chemin
        = plateforme_.fichiers->choisirFichierListe(this, cheminListePropose(NomFichier));
    if (chemin.isEmpty())
        return;
    const QString erreur = enregistrerFichier(chemin, listeCsv(table_));
    if (!erreur.isEmpty())
        plateforme_.fichiers->montrerErreur(this, erreur);
}

namespace {

// The one local file that a drag carries, or nothing: several files are not taken.
QString fichierGlisse(const QMimeData* donnees)
{
    const QList<QUrl> adresses = donnees->urls();
    if (adresses.size() != 1 || !adresses.constFirst().isLocalFile())
        return {};
    return adresses.constFirst().toLocalFile();
}

} // namespace

void Form1::dragEnterEvent(QDragEnterEvent* event) { recevoirGlisser(event); }

void Form1::dragMoveEvent(QDragMoveEvent* event) { recevoirGlisser(event); }

void Form1::dropEvent(QDropEvent* event) { recevoirGlisser(event); }

void Form1::recevoirGlisser(QDropEvent* event)
{
    const QString chemin = fichierGlisse(event->mimeData());
    // A copy, never a move: the file manager must not take the file away once it is dropped.
    if (chemin.isEmpty() || ouvertureEnCours() || !(event->possibleActions() & Qt::CopyAction)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // After the drop has ended: a message box must not hold the file manager's drag.
    if (event->type() == QEvent::Drop)
        QTimer::singleShot(0, this, [this, chemin] { ouvrir(chemin); });
}
