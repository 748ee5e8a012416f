#include "Options.h"

#include "CliTexts.h"
#include "Commands.h"

#include "i18n/Catalogue.h"

#include <cstdio>

namespace zx::cli {

const std::vector<OptionSpec> &CommonOptions()
{
    static const std::vector<OptionSpec> common = {
        {"--lang", "en|de|fr", "language of messages and lists (default en)"},
        {"--quiet", nullptr, "print errors only, no notes or progress"},
        {"--help", nullptr, "describe the command and its options"},
    };
    return common;
}

const Command *FindCommand(const QString &name)
{
    for (const Command &c : Commands())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

const OptionSpec *Options::find(const QString &name) const
{
    for (const OptionSpec &o : command_.options)
        if (name == QLatin1String(o.name))
            return &o;
    for (const OptionSpec &o : CommonOptions())
        if (name == QLatin1String(o.name))
            return &o;
    return nullptr;
}

int LanguageOfArguments(const QStringList &args)
{
    int language = English;
    for (int i = 0; i < args.size() && args[i] != QLatin1String("--"); ++i) {
        QString value;
        if (args[i].startsWith(QLatin1String("--lang=")))
            value = args[i].mid(7);
        else if (args[i] == QLatin1String("--lang") && i + 1 < args.size())
            value = args[++i];
        else
            continue;
        if (value == QLatin1String("de"))
            language = German;
        else if (value == QLatin1String("fr"))
            language = French;
        else if (value == QLatin1String("en"))
            language = English;
    }
    return language;
}

bool Options::parse(const QStringList &args)
{
    language_ = LanguageOfArguments(args);
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (optionsEnded || !a.startsWith(QLatin1String("--"))) {
            if (!optionsEnded && a.size() > 1 && a.startsWith(u'-')) {
                usageError(a + QStringLiteral(": ") + cliText(CliText::UnknownOption, language_));
                return false;
            }
            positional << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const qsizetype eq = a.indexOf(u'=');
        const QString name = eq < 0 ? a : a.left(eq);
        const OptionSpec *known = find(name);
        if (!known) {
            usageError(name + QStringLiteral(": ") + cliText(CliText::UnknownOption, language_));
            return false;
        }
        if (values_.contains(name)) {
            usageError(name + QStringLiteral(": ") + cliText(CliText::GivenTwice, language_));
            return false;
        }
        QString value;
        if (known->value) {
            if (eq >= 0) {
                value = a.mid(eq + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                usageError(name + QStringLiteral(": ") + cliText(CliText::NeedsValue, language_));
                return false;
            }
        } else if (eq >= 0) {
            usageError(a + QStringLiteral(": ") + cliText(CliText::UnknownOption, language_));
            return false;
        }
        values_.insert(name, value);
        // the language first, so every later message speaks it
        if (name == QLatin1String("--lang")) {
            if (value == QLatin1String("de"))
                language_ = German;
            else if (value == QLatin1String("fr"))
                language_ = French;
            else if (value == QLatin1String("en"))
                language_ = English;
            else if (qstrcmp(command_.name, "catalogue") != 0) {
                badValue("--lang", cliText(CliText::OneOf, language_).arg(QStringLiteral("en, de, fr")));
                return false;
            }
        }
    }
    return true;
}

std::optional<int> Options::integer(const char *name, ValueRange range)
{
    if (!has(name))
        return std::nullopt;
    bool ok = false;
    const int v = value(name).trimmed().toInt(&ok);
    if (ok && range.contains(v))
        return v;
    badValue(name, cliText(CliText::Outside, language_).arg(range.min).arg(range.max));
    return std::nullopt;
}

std::optional<int> Options::choice(const char *name, const QStringList &choices)
{
    if (!has(name))
        return std::nullopt;
    const qsizetype i = choices.indexOf(value(name));
    if (i >= 0)
        return int(i);
    badValue(name, cliText(CliText::OneOf, language_).arg(choices.join(QStringLiteral(", "))));
    return std::nullopt;
}

std::optional<int> Options::deviceType()
{
    const auto i = choice("--type", {QStringLiteral("517"), QStringLiteral("236")});
    if (!i)
        return std::nullopt;
    return *i == 0 ? 517 : 236;
}

int Options::badValue(const char *name, const QString &reason)
{
    failed_ = true;
    std::fprintf(stderr, "zentrix-cli: %s %s: %s\n", name, qPrintable(value(name)), qPrintable(reason));
    return 2;
}

int Options::usageError(const QString &what)
{
    failed_ = true;
    if (!what.isEmpty())
        std::fprintf(stderr, "zentrix-cli: %s\n", qPrintable(what));
    std::fputs(qPrintable(UsageText(command_)), stderr);
    return 2;
}

bool Options::expectArguments(const QStringList &names, int required, bool more)
{
    if (required < 0)
        required = int(names.size());
    if (positional.size() < required) {
        usageError(cliText(CliText::ArgumentMissing, language_).arg(names[positional.size()]));
        return false;
    }
    if (!more && positional.size() > names.size()) {
        usageError(positional[names.size()] + QStringLiteral(": ") +
                   cliText(CliText::UnexpectedArgument, language_));
        return false;
    }
    return true;
}

int Options::missingOneOf(const QStringList &options)
{
    return usageError(cliText(CliText::OneOfOptions, language_).arg(options.join(QStringLiteral(", "))));
}

QString UsageText(const Command &command)
{
    QString out;
    const QStringList forms = QString::fromUtf8(command.synopsis).split(u'\n');
    for (int i = 0; i < forms.size(); ++i)
        out += (i == 0 ? QStringLiteral("usage: ") : QStringLiteral("       ")) +
               QStringLiteral("zentrix-cli ") + QLatin1String(command.name) +
               (forms[i].isEmpty() ? QString() : u' ' + forms[i]) + u'\n';
    return out;
}

} // namespace zx::cli
