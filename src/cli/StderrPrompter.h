#pragma once

#include "platform/Prompter.h"

#include <cstdio>

namespace zx::cli {

// The prompter of the command line: messages go to standard error; questions are printed and
// get the cautious answer (No, or Cancel).
class StderrPrompter final : public Prompter {
public:
    void tell(const QString &message, Icon, const QString &) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
    Answer ask(const QString &message, Buttons buttons, Icon, const QString &) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    std::optional<QString> askText(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> chooseOpenFile(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QString> chooseSaveFile(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    void beep() override {}

protected:
    void beginBusy() override {}
    void endBusy() override {}
};

} // namespace zx::cli
