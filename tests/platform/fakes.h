// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Test doubles of the platform layer: they record what the windows asked for.

#include "platform/file_chooser.h"
#include "platform/launcher.h"
#include "platform/platform.h"
#include "platform/window_chrome.h"
#include "qt_print.h"
#include "write_file.h"

#include <QStringList>

#include <deque>

class FakeFileChooser final : public FileChooser {
public:
    // Each dialog returns the next answer; an empty string is a cancel.
    std::deque<QString> answers;
    QStringList errors;
    int dialogs = 0;

    QString chooseTextFile(QWidget*) override
    {
        ++dialogs;
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showError(QWidget*, const QString& message) override { errors << message; }
};

class FakeLauncher final : public Launcher {
public:
    QStringList opened;
    bool succeeds = true;
    bool openAddress(const QString& address) override
    {
        opened << address;
        return succeeds;
    }
};

class FakeWindowChrome final : public WindowChrome {
public:
    QRect outline;
    int cornerRadius = 0;
    int hiddenFromTaskBar = 0;
    int stayOnTopCalls = 0;
    int moves = 0;

    void setRoundedOutline(QWidget*, const QRect& r, int radius) override
    {
        outline = r;
        cornerRadius = radius;
    }
    void hideFromTaskBar(QWidget*) override { ++hiddenFromTaskBar; }
    void stayOnTop(QWidget*) override { ++stayOnTopCalls; }
    void startMove(QWidget*) override { ++moves; }
};

// All doubles together, with a Platform that points at them.
struct FakePlatform {
    FakeFileChooser files;
    FakeLauncher launcher;
    FakeWindowChrome chrome;
    int programEnds = 0;

    Platform platform()
    {
        return {&files, &launcher, &chrome, [this] { ++programEnds; }};
    }
};
