// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/frm_about.h"

#include "assets/apparence.h"
#include "help_window/libelle_cliquable.h"
#include "help_window/placement.h"
#include "help_window/site.h"
#include "platform/jamais_reduite.h"
#include "platform/lanceur.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

const QColor kFond(0xE0, 0xE0, 0xE0);

struct Libelle {
    const char* name;
    QRect geometry;
    const char* text; // UTF-8
    qreal pointSize; // 0: the window's own font
    bool centred;
    QColor colour; // invalid: the system's text colour
};

// The window's captions, top to bottom. The doubled and trailing spaces are meant.
const Libelle kLibelles[] = {
    {"Label1", {112, 32, 145, 25}, "LEXORQUINE", 13.5, true, {}},
    {"Label8", {264, 40, 25, 17}, "V " LEXORQUINE_VERSION_COURTE, 0, false, {}},
    {"Label2",
     {16, 80, 337, 33},
     "Permet l'analyse d'un texte en donnant le nombre de mots, de caractères et l'occurrence de "
     "chacun des mots utilisés.",
     8.25,
     false,
     {}},
    {"Label6",
     {16, 111, 337, 17},
     "L'occurrence englobe les mots avec ou sans majuscule.",
     8.25,
     false,
     {}},
    {"Label4",
     {16, 128, 329, 33},
     "Il est également possible de faire une  recherche  par mot,  groupe de mots ou  caractères.",
     8.25,
     false,
     {}},
    {"Label5",
     {16, 155, 337, 57},
     "Cette recherche porte uniquement sur les caractères ou le texte de la fenêtre de recherche. "
     "Le résultat peut ainsi ne concerner qu'une partie d'un mot ou inclure  par exemple des "
     "pluriels sans les nommer. ",
     8.25,
     false,
     {}},
    {"Label7",
     {16, 208, 329, 25},
     "Ex: Avec les mots  raconter et contes , le résultat d'une recherche sur \"conte\" serait  "
     "\"2\"",
     8.25,
     false,
     {}},
    {"Label3",
     {40, 248, 305, 17},
     "Le fichier sélectionné sera un fichier  .txt",
     9.75,
     false,
     QColor(0xFF, 0x00, 0x00)},
    {"Label9",
     {24, 280, 313, 17},
     "Veuillez patienter lors de l'analyse d'un long texte.",
     8.25,
     true,
     QColor(0x00, 0x00, 0x80)},
    {"Label22", {80, 320, 169, 17}, "Logiciel gratuit, sans garantie.", 8.25, true, {}},
    {"Label23", {16, 344, 145, 17}, "Auteur : l'équipe Lexorquine", 8.25, false, {}},
    {"Label24", {184, 344, 81, 17}, "Visitez le site ", 8.25, false, {}},
};

void preparer(QLabel* label, const char* name, QRect geometry, bool centred)
{
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
}

} // namespace

frmAbout::frmAbout(Lanceur& lanceur, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                  | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , lanceur_(lanceur)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Lexorquine"));
    setWindowIcon(apparence::iconeProgramme());
    // Closing releases the window; the next press of the help button makes it afresh.
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(362, 384);
    setFont(apparence::policeClassique(8.25, false));
    apparence::colorer(this, QPalette::Window, kFond);
    setAutoFillBackground(true);
    // Moves over the bare background put the link back to its resting colour.
    setMouseTracking(true);
    // A fixed dialog: if the window manager minimises it all the same, it comes back.
    empecherReduction(this);
    creerElements();
    placer();
}

void frmAbout::creerElements()
{
    Image1 = new QLabel(this);
    preparer(Image1, "Image1", {24, 16, 32, 32}, false);
    Image1->setPixmap(apparence::iconeProgramme().pixmap(32, 32));
    Image1->setAccessibleName(QStringLiteral("Icône de Lexorquine"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(288, 8, 52, 23);
    cmdOK->setDefault(true);
    cmdOK->setCursor(apparence::curseurMain());
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    for (const Libelle& l : kLibelles) {
        auto* label = new QLabel(this);
        preparer(label, l.name, l.geometry, l.centred);
        label->setText(QString::fromUtf8(l.text));
        if (l.pointSize > 0)
            label->setFont(apparence::policeClassique(l.pointSize, true));
        if (l.colour.isValid())
            apparence::colorer(label, QPalette::WindowText, l.colour);
    }

    // Made last, so it lies over the pixel it shares with its neighbour on the left.
    lblk3zop = new LibelleCliquable(this);
    preparer(lblk3zop, "lblk3zop", {264, 344, 89, 17}, false);
    lblk3zop->setText(QLatin1Char(' ') + site::hote());
    lblk3zop->setFont(apparence::policeClassique(8.25, true));
    lblk3zop->setAccessibleName(QStringLiteral("Visiter le site ") + site::hote());
    lblk3zop->setCursor(apparence::curseurMain());
    // Moves without a pressed button count too.
    lblk3zop->setMouseTracking(true);
    apparence::colorer(lblk3zop, QPalette::WindowText, QColor(0x00, 0x00, 0xC0));
    lblk3zop->setAutoFillBackground(true);
    colorerLien(kLienRepos);
    connect(lblk3zop, &LibelleCliquable::survole, this, &frmAbout::lblk3zop_MouseMove);
    connect(lblk3zop, &LibelleCliquable::clique, this, &frmAbout::lblk3zop_Click);

    // The keyboard has two stops: OK, then the link.
    for (QWidget* child : findChildren<QWidget*>())
        child->setFocusPolicy(child == cmdOK || child == lblk3zop ? Qt::StrongFocus : Qt::NoFocus);
    cmdOK->setFocus();
}

void frmAbout::placer()
{
    const QWidget* principale = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* ecran = principale ? principale->screen() : QGuiApplication::primaryScreen();
    if (!ecran)
        return;
    // The window manager's title bar and borders come on top of the client area; it draws them
    // in the screen's pixels, whatever scale Qt draws at.
    const QSize taille
        = size().grownBy((QMarginsF(8, 32, 8, 8) / ecran->devicePixelRatio()).toMargins());
    const QRect disponible = ecran->availableGeometry();
    QRect proprietaire = principale ? principale->frameGeometry() : QRect();
    if (!proprietaire.isValid() || !principale->isVisible()) {
        proprietaire = QRect(QPoint(), taille);
        proprietaire.moveCenter(disponible.center());
    }
    move(positionFenetreAide(proprietaire, taille, disponible));
}

void frmAbout::paintEvent(QPaintEvent*)
{
    // The etched rule above the terms line: a 2-pixel white line under a 1-pixel grey one.
    QPainter painter(this);
    painter.fillRect(QRect(48, 312, 264, 2), Qt::white);
    painter.fillRect(QRect(48, 312, 264, 1), QColor(0x80, 0x80, 0x80));
}

void frmAbout::mouseMoveEvent(QMouseEvent* event)
{
    // Only bare background counts, the painted rule included: a move over an element is its own.
    if (childAt(event->position().toPoint()) == nullptr)
        Form_MouseMove();
}

void frmAbout::Form_MouseMove() { colorerLien(kLienRepos); }

void frmAbout::lblk3zop_MouseMove() { colorerLien(kLienSurvol); }

void frmAbout::colorerLien(QColor couleur)
{
    apparence::colorer(lblk3zop, QPalette::Window, couleur);
}

void frmAbout::cmdOK_Click() { close(); }

void frmAbout::lblk3zop_Click()
{
    // Whether the browser starts or not, the window stays as it is: nothing to tell the user.
    lanceur_.ouvrirAdresse(site::adresse());
}
