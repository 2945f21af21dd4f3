// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/annonce.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>

namespace {

const char kEtat[] = "lexorquineEtat";
const char kFenetre[] = "lexorquineFenetre";
const char kMessage[] = "lexorquineMessage";

class EtatAccessible final : public QAccessibleWidget {
public:
    explicit EtatAccessible(QLabel* libelle)
        : QAccessibleWidget(libelle, QAccessible::StatusBar)
    { }

    QString text(QAccessible::Text sorte) const override
    {
        if (sorte == QAccessible::Name)
            return static_cast<QLabel*>(widget())->text().simplified();
        return QAccessibleWidget::text(sorte);
    }
};

// A notification: readers speak it when it appears.
class MessageAccessible final : public QAccessibleWidget {
public:
    explicit MessageAccessible(QWidget* porteur)
        : QAccessibleWidget(porteur, QAccessible::Notification)
    { }

    QString text(QAccessible::Text sorte) const override
    {
        if (sorte == QAccessible::Name)
            return widget()->property(kMessage).toString();
        return {};
    }
};

class FenetreAccessible final : public QAccessibleWidget {
public:
    explicit FenetreAccessible(QWidget* fenetre)
        : QAccessibleWidget(fenetre, QAccessible::Window)
    { }

    QString text(QAccessible::Text sorte) const override
    {
        if (sorte == QAccessible::Name)
            return widget()->property(kFenetre).toString();
        return QAccessibleWidget::text(sorte);
    }
};

QAccessibleInterface* interfaceAnnonce(const QString& classe, QObject* objet)
{
    // Asked for the object's own class first, before Qt's interfaces for its base classes.
    if (!objet || !objet->isWidgetType()
        || classe != QLatin1String(objet->metaObject()->className()))
        return nullptr;
    auto* element = static_cast<QWidget*>(objet);
    if (objet->property(kMessage).isValid())
        return new MessageAccessible(element);
    if (objet->property(kFenetre).isValid() && element->isWindow())
        return new FenetreAccessible(element);
    if (objet->property(kEtat).toBool())
        if (auto* libelle = qobject_cast<QLabel*>(objet))
            return new EtatAccessible(libelle);
    return nullptr;
}

void installer()
{
    static const bool installee = (QAccessible::installFactory(interfaceAnnonce), true);
    (void)installee;
}

} // namespace

Annonceur::Annonceur(QWidget* fenetre, std::chrono::milliseconds pause)
    : QObject(fenetre)
    , porteur_(new QWidget(fenetre))
    , pause_(pause)
{
    installer();
    porteur_->setObjectName(QStringLiteral("annonce"));
    porteur_->setProperty(kMessage, QString());
    // Nothing to see or to click: it is there for the readers alone.
    porteur_->setGeometry(0, 0, 0, 0);
    porteur_->setAttribute(Qt::WA_TransparentForMouseEvents);
    porteur_->setFocusPolicy(Qt::NoFocus);
    porteur_->hide();
    attente_.setSingleShot(true);
    connect(&attente_, &QTimer::timeout, this, &Annonceur::montrer);
    connect(qApp, &QApplication::focusChanged, this, [this] { focus_.start(); });
}

void Annonceur::annoncer(const QString& message)
{
    enAttente_ = message.simplified();
    using std::chrono::milliseconds;
    const auto reste = [](const QElapsedTimer& depuis, milliseconds duree) {
        return depuis.isValid() ? duree - milliseconds(depuis.elapsed()) : milliseconds(0);
    };
    // A reader that falls behind drops what does not concern the focus, and a focus change
    // brings a burst of news: a message waits until that burst is behind it.
    const milliseconds attente = std::max(reste(depuis_, pause_), reste(focus_, kApresFocus));
    if (attente <= milliseconds(0))
        montrer();
    else if (!attente_.isActive())
        attente_.start(attente);
}

void Annonceur::montrer()
{
    attente_.stop();
    depuis_.start();
    porteur_->setProperty(kMessage, enAttente_);
    // Appearing again is what makes readers speak it, the same message twice as well.
    porteur_->hide();
    if (porteur_->parentWidget()->isVisible())
        porteur_->show();
}

void marquerCommeEtat(QLabel* libelle)
{
    installer();
    libelle->setProperty(kEtat, true);
    // A name of its own keeps the label from telling readers of every caption, which would
    // flood them during a fast search: the Annonceur tells what matters, at a pace they follow.
    libelle->setAccessibleName(QStringLiteral("Résultat"));
}

void nommerFenetre(QWidget* fenetre, const QString& nom)
{
    installer();
    fenetre->setProperty(kFenetre, nom);
}
