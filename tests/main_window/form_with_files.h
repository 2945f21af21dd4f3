// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A main window on test doubles, and files in a temporary folder for its open command.

#include "main_window/form1.h"
#include "platform/fakes.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

class FormWithFiles : public testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = writeFile(dir.path(), name, bytes);
        EXPECT_FALSE(path.isEmpty());
        return path;
    }

    // The open command, with the dialog answering this path.
    void open(const QString& path)
    {
        fakes.files.answers.push_back(path);
        form.Cmdouvrir_Click();
        attendreOuverture();
    }

    // The open's work runs away from the window; its result shows once the loop has run.
    void attendreOuverture()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.ouvertureEnCours(); }, 60000));
    }

    QString writeAndOpen(const QString& name, const QByteArray& bytes)
    {
        const QString path = write(name, bytes);
        open(path);
        return path;
    }

    QTemporaryDir dir;
    FakePlatform fakes;
    Form1 form{fakes.platform()};
};
