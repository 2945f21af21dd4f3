// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QWidget;

// Tells screen readers what changes away from the keyboard focus, such as a result or the
// counts of a file just opened. They speak up for the focused control only: the message
// becomes that control's accessible description, and the control says that its description
// changed. Once the focus leaves, the control gets its own description back.
class Annonceur final : public QObject {
    Q_OBJECT
public:
    explicit Annonceur(QWidget* fenetre);

    // Line breaks and runs of blanks are read as one space.
    void annoncer(const QString& message);

private:
    void rendreDescription();

    QWidget* fenetre_;
    QPointer<QWidget> porteur_; // the control that carries the last message
    QString descriptionPropre_; // its own description, given back when the focus leaves
};

// Shows the label to assistive technologies as the window's status, named by its caption
// read as one line. Works for subclasses of QLabel: Qt's own interface takes QLabel itself.
void marquerCommeEtat(QLabel* libelle);
