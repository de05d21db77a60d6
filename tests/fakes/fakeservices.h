// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "services.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

#include <optional>
#include <string>
#include <vector>

namespace zirk::testing {

// Hands out the next prepared answer; an empty queue answers like a cancelled dialog.
class FakeChooser : public FileChooser {
public:
    std::optional<std::string> chooseMaze(QWidget*) override {
        ++calls;
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.erase(answers.begin());
        chosen += answer.has_value();
        // Something another program might do between the choice and the read.
        if (afterChoice) afterChoice();
        return answer;
    }
    std::function<void()> afterChoice;
    std::vector<std::optional<std::string>> answers;
    int calls = 0;
    int chosen = 0; // calls that returned a path
};

class FakeBox : public MessageBox {
public:
    void tell(QWidget*, const QString& text, const QString& caption) override {
        texts << text;
        captions << caption;
    }
    QStringList texts;
    QStringList captions;
};

class FakeEnd : public ProgramEnd {
public:
    void endNow() override { ++calls; }
    int calls = 0;
};

class FakeScreen : public ScreenArea {
public:
    explicit FakeScreen(QRect area = QRect(0, 0, 1024, 768)) : area(area) {}
    QRect geometry() const override { return area; }
    QRect area;
};

} // namespace zirk::testing
