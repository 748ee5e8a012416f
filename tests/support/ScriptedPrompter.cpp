#include "support/ScriptedPrompter.h"

namespace zx::test {

namespace {

// The next scripted answer; none left counts as a cancelled dialog.
std::optional<QString> takeFront(std::deque<std::optional<QString>> &queue)
{
    std::optional<QString> next;
    if (!queue.empty()) {
        next.swap(queue.front());
        queue.pop_front();
    }
    return next;
}

} // namespace

void ScriptedPrompter::tell(const QString &message, Icon icon, const QString &title)
{
    shown.push_back({message, icon, title, false, Buttons::Ok});
}

Answer ScriptedPrompter::ask(const QString &message, Buttons buttons, Icon icon, const QString &title)
{
    shown.push_back({message, icon, title, true, buttons});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    ++unscripted;
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes : Answer::Ok;
}

std::optional<QString> ScriptedPrompter::askText(const QString &prompt, const QString &)
{
    shown.push_back({prompt, Icon::None, {}, true, Buttons::OkCancel});
    return takeFront(texts);
}

std::optional<QString> ScriptedPrompter::chooseOpenFile(const QString &, const QString &, const QString &)
{
    return takeFront(files);
}

std::optional<QString> ScriptedPrompter::chooseSaveFile(const QString &, const QString &, const QString &)
{
    return chooseOpenFile({}, {}, {});
}

QStringList ScriptedPrompter::messages() const
{
    QStringList list;
    for (const auto &s : shown)
        list << s.message;
    return list;
}

} // namespace zx::test
