#include "HeadlessPrompter.h"

#include "Commands.h"

#include <cstdio>

namespace zx::cli {

void HeadlessPrompter::tell(const QString &message, Icon icon, const QString &)
{
    if (icon == Icon::Critical)
        ++errors;
    if (quiet)
        return;
    // "path\nreason" of a file error, or a message about the command's file: one line each
    QString line = inMessageLanguage(message.trimmed());
    line.replace(u'\n', QStringLiteral(": "));
    if (!file.isEmpty() && !message.contains(u'\n'))
        line = file + QStringLiteral(": ") + line;
    std::fprintf(stderr, "zentrix-cli: %s\n", qPrintable(line));
}

Answer HeadlessPrompter::ask(const QString &message, Buttons buttons, Icon, const QString &)
{
    const Answer answer = buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : yesNoAnswer;
    const char *shown = answer == Answer::Ok ? "OK" : answer == Answer::Yes ? "Yes" : "No";
    if (!quietQuestions)
        std::fprintf(stderr, "%s -> %s\n", qPrintable(message.trimmed()), shown);
    return answer;
}

std::optional<QString> HeadlessPrompter::askText(const QString &, const QString &)
{
    return std::nullopt;
}

std::optional<QString> HeadlessPrompter::chooseOpenFile(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}

std::optional<QString> HeadlessPrompter::chooseSaveFile(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}

} // namespace zx::cli
