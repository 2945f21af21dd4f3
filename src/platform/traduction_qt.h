// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt's own texts (the file dialog, message boxes, edit menus) in French, from the translation
// that the program carries: the system may have none. Needs the application object; false
// when the translation could not be installed.
bool traduireQtEnFrancais();
