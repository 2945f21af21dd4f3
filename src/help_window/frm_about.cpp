#include "help_window/frm_about.h"

frmAbout::frmAbout(Launcher& launcher, QWidget* parent) : QDialog(parent), launcher_(launcher)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Lexorquine"));
    // Closing releases the window; the next press of the help button makes it afresh.
    setAttribute(Qt::WA_DeleteOnClose);
}
