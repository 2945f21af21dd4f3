// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/choix_fichier.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

namespace {

// How long the window manager may take to give the main window back the keyboard.
constexpr int kAttenteDuGestionnaire = 2000; // ms

// The window manager learns late that a dialog has gone: until it has given the keyboard back to
// the main window, it still sends the dialog the close that the user meant for the main window.
// Kept until then, out of sight, the dialog hands that close on instead of losing it.
class RelaisFermeture final : public QObject {
public:
    explicit RelaisFermeture(QWidget* dialogue)
        : QObject(dialogue)
        , dialogue_(dialogue)
    {
        dialogue->installEventFilter(this);
    }

    // Once answered: the dialog goes when its parent is active again, or after a while.
    void attendre()
    {
        QWidget* parent = dialogue_->parentWidget();
        if (!parent || parent->isActiveWindow()) {
            dialogue_->deleteLater();
            return;
        }
        parent->installEventFilter(this);
        QTimer::singleShot(kAttenteDuGestionnaire, dialogue_, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject* surveille, QEvent* event) override
    {
        QWidget* parent = dialogue_->parentWidget();
        if (surveille == parent) {
            if (event->type() == QEvent::WindowActivate)
                dialogue_->deleteLater();
            return false;
        }
        if (event->type() != QEvent::Close || !event->spontaneous() || dialogue_->isVisible())
            return false;
        if (parent)
            parent->close();
        return true;
    }

private:
    QWidget* dialogue_;
};

// The path chosen, or an empty string.
QString cheminChoisi(QFileDialog* dialogue)
{
    auto* relais = new RelaisFermeture(dialogue);
    const QString chemin
        = dialogue->exec() == QDialog::Accepted ? dialogue->selectedFiles().value(0) : QString();
    // Its completion list would stay Qt's open popup as long as the dialog, and take every key.
    // The dialog is modal: any popup still open is its own. Hidden: closed, it would lose its
    // window, and a key pressed under its grab with it.
    while (QWidget* liste = QApplication::activePopupWidget()) {
        liste->hide();
        if (QApplication::activePopupWidget() == liste)
            break;
    }
    relais->attendre();
    return chemin;
}

} // namespace

QString ChoixFichierQt::choisirFichierTexte(QWidget* parent)
{
    // Qt's name filters ignore letter case, so conte.TXT and conte.Txt are offered too.
    auto* dialogue = new QFileDialog(parent, QStringLiteral("Ouvrir un fichier texte"), QString(),
                                     QStringLiteral("Fichier texte (*.txt)"));
    dialogue->setFileMode(QFileDialog::ExistingFile);
    return cheminChoisi(dialogue);
}

QString ChoixFichierQt::choisirFichierListe(QWidget* parent, const QString& propose)
{
    auto* dialogue = new QFileDialog(parent, QStringLiteral("Enregistrer la liste des mots"),
                                     propose, QStringLiteral("Liste pour tableur (*.csv)"));
    dialogue->setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without its extension still gives a file the spreadsheet recognises.
    dialogue->setDefaultSuffix(QStringLiteral("csv"));
    dialogue->selectFile(propose);
    return cheminChoisi(dialogue);
}

void ChoixFichierQt::montrerErreur(QWidget* parent, const QString& message)
{
    QMessageBox::warning(parent, QStringLiteral("Lexorquine"), message);
}
