// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

class QLabel;
class QWidget;

// Tells screen readers what changes away from the keyboard focus, such as a result or the
// counts of a file just opened. Each message is a notification that appears in the window and
// stays, named by the message, until the next one: a reader that fetches it late still finds
// it. Messages closer together than the pause are merged: the last one is told once the pause
// has passed, so that a fast run of results does not bury the reader; and none comes within a
// moment of a focus change, whose news would else crowd it out.
class Annonceur final : public QObject {
    Q_OBJECT
public:
    explicit Annonceur(QWidget* fenetre,
                       std::chrono::milliseconds pause = std::chrono::milliseconds(600));

    // Line breaks and runs of blanks are read as one space.
    void annoncer(const QString& message);

private:
    void montrer();

    QWidget* porteur_;
    QString enAttente_;
    QTimer attente_;
    QElapsedTimer depuis_; // since the last message told
    QElapsedTimer focus_; // since the keyboard focus last moved
    static constexpr std::chrono::milliseconds kApresFocus{250};
    std::chrono::milliseconds pause_;
};

// Shows the label to assistive technologies as the window's status, named by its caption
// read as one line, though its changes are not told. Works for subclasses of QLabel: Qt's own
// interface takes QLabel itself.
void marquerCommeEtat(QLabel* libelle);

// Shows a top-level widget to assistive technologies as a window with this name, whatever
// its title bar says.
void nommerFenetre(QWidget* fenetre, const QString& nom);
