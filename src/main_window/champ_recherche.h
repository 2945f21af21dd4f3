// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// A one-line text box that never holds a line break: text pasted, dropped or set by the
// program keeps only what comes before its first line break, and the rest of the box stays.
//
// texteModifie() announces the value only when it really changed. QLineEdit's own
// textChanged() also fires when a text set with a line break ends up as the value the box
// already had.
class ChampRecherche final : public QLineEdit {
    Q_OBJECT
public:
    explicit ChampRecherche(QWidget* parent = nullptr);

    // `texte` as this box would keep it when `fin` is where the text just put into it ends.
    static QString SansSautDeLigne(const QString& texte, qsizetype fin, qsizetype* curseur);

signals:
    void texteModifie(const QString& texte);

private:
    QString annonce_;
};
