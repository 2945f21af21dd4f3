#pragma once

#include <QDialog>

class Launcher;

// The help window: what the tool does, and a link to the maker's web site.
class frmAbout final : public QDialog {
    Q_OBJECT
public:
    frmAbout(Launcher& launcher, QWidget* parent = nullptr);

private:
    Launcher& launcher_;
};
