// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The open-file dialog and the messages that go with it, replaceable in tests.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen path, or an empty string when the user cancelled.
    virtual QString chooseTextFile(QWidget* parent) = 0;
    virtual void showError(QWidget* parent, const QString& message) = 0;
};

class QtFileChooser final : public FileChooser {
public:
    QString chooseTextFile(QWidget* parent) override;
    void showError(QWidget* parent, const QString& message) override;
};
