// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/index_lignes.h"
#include "text_view/ligne_texte.h"
#include "text_view/metriques_lignes.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>

class QMenu;

#include <span>

// A read-only multi-line text box that gives back exactly the text it was given, CR LF
// included, and counts selection positions in that text. CR LF, a lone CR and a lone LF each
// end a line on screen. Only the lines in view are drawn, so any size opens at once. The box
// handles the keys, the mouse and the scroll bars; RenduLignes draws.
class VueTexte final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit VueTexte(QWidget* parent = nullptr);

    void definirTexte(const QString& texte);
    // The same with its lines already indexed, for instance on another thread. An index of
    // another text is not used: the text is indexed again.
    void definirTexte(const Texte& texte, IndexLignes index);
    void definirTexte(const QString& texte, IndexLignes index)
    {
        definirTexte(Texte(texte), std::move(index));
    }
    const Texte& texte() const { return lignes_.texte(); }

    // Start and length count characters of texte(); both are clamped to it.
    void definirSelection(qsizetype debut, qsizetype longueur);
    qsizetype debutSelection() const;
    qsizetype longueurSelection() const;

    // The pointer shown over the text area itself.
    void definirPointeur(const QCursor& pointeur);

    // Lines as shown, without their line breaks; a line out of range is empty.
    qsizetype nombreLignes() const { return lignes_.nombreLignes(); }
    LigneTexte ligne(qsizetype numero) const { return ligneDe(lignes_, numero); }
    qsizetype premiereLigneVisible() const;
    // The end of the selection that moves with the keyboard and the mouse.
    qsizetype positionCurseur() const { return curseur_; }
    // Where a position is drawn, in viewport coordinates (top of its line).
    QPoint pointDe(qsizetype position) const;

    // "Copier", "Tout sélectionner", then the actions added to the box, for its owner to show.
    // The caller owns it.
    QMenu* creerMenuContextuel();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class VueTexteAccessible;
    struct Touche;
    static std::span<const Touche> touches();

    double xDe(qsizetype position) const;
    qsizetype positionEn(QPoint point) const;
    // The position on another line nearest to the column the up and down moves keep.
    qsizetype positionVerticale(qsizetype lignes);

    int lignesVisibles() const;
    void ajusterBarres();
    void deplacerCurseur(qsizetype position, bool etendre);
    void montrerCurseur();
    void montrer(qsizetype position, qsizetype autre);
    void selectionChangee(bool parLUtilisateur);
    void annoncerSelection();
    void copierSelection() const;
    void toutSelectionner();

    IndexLignes lignes_;
    MetriquesLignes metriques_;
    qsizetype ancre_ = 0;
    qsizetype curseur_ = 0;
    double xVise_ = -1; // kept across up and down moves
    // The width the horizontal scroll range was last set for.
    double largeurPlage_ = 0;
    bool plageEnAttente_ = false;
    // A drag held outside the view keeps scrolling towards the pointer.
    QBasicTimer defilementGlisse_;
    QPoint pointGlisse_;
    bool glisse_ = false;
    // Assistive technologies hear of the caret and the selection at most this often (ms).
    static constexpr qint64 kPauseAnnonce = 200;
    QElapsedTimer depuisAnnonce_;
    QBasicTimer annonceEnAttente_;
};
