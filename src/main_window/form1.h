// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/occurrences.h"
#include "main_window/champ_recherche.h"
#include "platform/plateforme.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <stop_token>

class Annonceur;
class LibelleCliquable;
class QAction;
class QCheckBox;
class QDropEvent;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class Recherche;
class VueTexte;
class frmAbout;
struct DocumentOuvert;
struct Ouverture;
template <typename T>
class QFutureWatcher;

// The main window: the text, its counts, the occurrence report and the search.
class Form1 final : public QWidget {
    Q_OBJECT
public:
    explicit Form1(const Plateforme& plateforme = plateformeQt(), QWidget* parent = nullptr);
    ~Form1() override;

    // The display elements, named as everywhere else in the program.
    QLabel* Lbltitre2;
    QLabel* LblTitre1;
    LibelleCliquable* Label3;
    QPushButton* Cmdouvrir;
    QPushButton* CmdAide;
    QPushButton* CmdQuit;
    VueTexte* Le_texte;
    QLabel* Label1;
    QGroupBox* Fram2;
    QLabel* Lignes;
    QLabel* LblMots;
    QLabel* LblMotsDiff;
    QLabel* Caract;
    VueTexte* Resultat_Txt;
    QGroupBox* Frame1;
    ChampRecherche* TxtRecherche;
    QCheckBox* ChkMaj;
    QPushButton* CmdRecherche;
    QCheckBox* ChkCherche;
    QLabel* Label2;
    // The search's own timer, shown here among the elements it belongs with.
    QTimer* Timer1;

    // State of the last open command.
    qint64 NbLignes = 0;
    QString NomFichier;
    bool FichierChoisi = false;

    Recherche& recherche() { return *recherche_; }
    frmAbout* aide() const;

    // True from the file chosen until its text and analysis are shown.
    bool ouvertureEnCours() const { return travail_ != nullptr; }
    // For tests: the analysis of the next opens on this many threads, whatever the machine.
    void imposerFilsAnalyse(int fils) { filsAnalyse_ = fils; }

    // A path that comes otherwise than from the dialog (the command line, a drop): the same
    // checks and messages as a chosen one.
    void ouvrir(const QString& chemin);

    // Asks where, then writes the occurrence table of the last text for a spreadsheet.
    void EnregistrerListe();

    void Cmdouvrir_Click();
    void Label3_Click();
    void CmdAide_Click();
    void CmdQuit_Click();
    // The search frame's handlers hand the search what happened.
    void CmdRecherche_Click();
    void Timer1_Timer();
    void ChkCherche_Click();
    void TxtRecherche_Change();
    void TxtRecherche_Click();
    void ChkMaj_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void creerElements();
    void creerCadreAnalyse();
    void creerCadreRecherche();
    void relierRecherche();
    void creerMenuListe();
    // A file dragged over the window or dropped on it, wherever on it.
    void recevoirGlisser(QDropEvent* event);
    void Form_Load();
    void Form_MouseDown(Qt::MouseButton bouton);
    void OuvrirFichier();
    void CommencerOuverture(const QString& chemin);
    void TerminerOuverture();
    void ChargerFichier(const QString& chemin, DocumentOuvert& document);
    void ApresChargement(DocumentOuvert& document);
    void AfficherOccurrences(DocumentOuvert& document);

    Plateforme plateforme_;
    QPixmap fond_;
    Recherche* recherche_;
    Annonceur* annonceur_;
    QPointer<frmAbout> aide_;
    // The open under way, and what tells it to give up when the window goes.
    QFutureWatcher<Ouverture>* travail_ = nullptr;
    std::stop_source arret_;
    bool minuterieActive_ = false;
    int filsAnalyse_ = 0; // 0: the machine's cores
    // The table of the text shown, which its report was written from.
    TableOccurrences table_;
    QAction* actionListe_ = nullptr;
};
