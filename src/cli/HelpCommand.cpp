// zentrix-cli help and --version: the usage, the man page and the bash completion, all made
// from the command table so that none of them can drift from what the parser accepts.
#include "Commands.h"

#include "i18n/Catalogue.h"
#include "platform/ProductVersion.h"

namespace zx::cli {

namespace {

QString versionLine()
{
    return ReleaseVersionLine();
}

QString optionLine(const OptionSpec &o)
{
    return QLatin1String(o.name) + (o.value ? u' ' + QLatin1String(o.value) : QString());
}

QString commandHelp(const Command &c)
{
    QString out = UsageText(c) + QString::fromUtf8(c.summary) + QStringLiteral(".\noptions:\n");
    auto add = [&out](const OptionSpec &o) {
        out += QStringLiteral("  %1\n      %2\n").arg(optionLine(o), QString::fromUtf8(o.help));
    };
    for (const OptionSpec &o : c.options)
        add(o);
    for (const OptionSpec &o : CommonOptions())
        add(o);
    return out;
}

// roff needs its hyphens and backslashes escaped.
QString roff(QString text)
{
    text.replace(u'\\', QStringLiteral("\\e"));
    text.replace(u'-', QStringLiteral("\\-"));
    return text;
}

QString manPage()
{
    QString out;
    out += QStringLiteral(".TH ZENTRIX-CLI 1 \"2026\" \"%1\" \"User Commands\"\n").arg(roff(versionLine()));
    out += QStringLiteral(".SH NAME\nzentrix\\-cli \\- read, check, build and transfer Zentrix program files "
                          "without a display\n");
    out += QStringLiteral(".SH SYNOPSIS\n.B zentrix\\-cli\n.I COMMAND\n.RI [ OPTIONS ...]\n");
    out += QStringLiteral(
        ".SH DESCRIPTION\nThe headless companion of\n.BR zentrix (1).\n"
        "Every command that changes a program runs the same code as the desktop program's dialog.\n"
        "An option's value follows it or is joined to it with \\(aq=\\(aq; \\-\\- ends the options; a file "
        "name \\- is standard input or output where a command reads or writes one program or export.\n"
        "Commands that create a file refuse to replace an existing one without \\-\\-force; every output "
        "must be a regular file (a symbolic link is followed and kept), and a program file that changed "
        "on disk since it was read is not overwritten.\n");
    out += QStringLiteral(".SH COMMANDS\n");
    for (const Command &c : Commands()) {
        out += QStringLiteral(".TP\n.B %1\n").arg(roff(QLatin1String(c.name)));
        for (const QString &form : QString::fromUtf8(c.synopsis).split(u'\n'))
            if (!form.isEmpty())
                out += roff(form) + QStringLiteral("\n.br\n");
        out += roff(QString::fromUtf8(c.summary)) + QStringLiteral(".\n");
        for (const OptionSpec &o : c.options)
            out += QStringLiteral(".RS\n.TP\n.B %1\n%2\n.RE\n")
                       .arg(roff(optionLine(o)), roff(QString::fromUtf8(o.help)));
    }
    out += QStringLiteral(".SH OPTIONS OF EVERY COMMAND\n");
    for (const OptionSpec &o : CommonOptions())
        out += QStringLiteral(".TP\n.B %1\n%2\n").arg(roff(optionLine(o)), roff(QString::fromUtf8(o.help)));
    out += QStringLiteral(
        ".SH ENVIRONMENT\n.TP\n.B ZENTRIX_WORKDIR\nthe working directory when \\-\\-workdir is not given\n"
        ".TP\n.B SOURCE_DATE_EPOCH\nthe time stamp build writes into a program file\n");
    out += QStringLiteral(".SH EXIT STATUS\n0 done, 1 the operation failed (one line on standard error: "
                          "zentrix\\-cli: FILE: reason), 2 bad usage.\n.SH SEE ALSO\n.BR zentrix (1)\n");
    return out;
}

QString completion()
{
    QString out = QStringLiteral("# bash completion for zentrix-cli, made by \"zentrix-cli help "
                                 "--completion\" from its command table.\n"
                                 "_zentrix_cli()\n{\n"
                                 "    local cur prev cmd opts values\n"
                                 "    cur=${COMP_WORDS[COMP_CWORD]}\n"
                                 "    prev=${COMP_WORDS[COMP_CWORD-1]}\n"
                                 "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
                                 "        COMPREPLY=($(compgen -W \"");
    QStringList names;
    for (const Command &c : Commands())
        names << QLatin1String(c.name);
    out += names.join(u' ') + QStringLiteral("\" -- \"$cur\"))\n        return\n    fi\n");
    out += QStringLiteral("    cmd=${COMP_WORDS[1]}\n    case $prev in\n");
    out +=
        QStringLiteral("        --port) COMPREPLY=($(compgen -W \"$(ls /dev/ttyS* /dev/ttyUSB* /dev/ttyACM* "
                       "2>/dev/null)\" -- \"$cur\")); return ;;\n");
    out += QStringLiteral("        --workdir) COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n");
    out += QStringLiteral("    esac\n    case $cmd in\n");
    for (const Command &c : Commands()) {
        QStringList opts;
        QStringList choiceCases;
        auto take = [&](const OptionSpec &o) {
            opts << QLatin1String(o.name);
            const QString v = o.value ? QString::fromLatin1(o.value) : QString();
            if (v.contains(u'|') && !v.contains(u'.') && !v.contains(u'['))
                choiceCases << QStringLiteral("                %1) values=\"%2\" ;;\n")
                                   .arg(QLatin1String(o.name), QString(v).replace(u'|', u' '));
        };
        for (const OptionSpec &o : c.options)
            take(o);
        for (const OptionSpec &o : CommonOptions())
            take(o);
        out += QStringLiteral("        %1)\n            opts=\"%2\"\n            case $prev in\n%3"
                              "            esac ;;\n")
                   .arg(QLatin1String(c.name), opts.join(u' '), choiceCases.join(QString()));
    }
    out += QStringLiteral("    esac\n"
                          "    if [ -n \"$values\" ]; then\n"
                          "        COMPREPLY=($(compgen -W \"$values\" -- \"$cur\"))\n"
                          "    elif [[ $cur == -* ]]; then\n"
                          "        COMPREPLY=($(compgen -W \"$opts\" -- \"$cur\"))\n"
                          "    else\n"
                          "        compopt -o filenames 2>/dev/null\n"
                          "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
                          "    fi\n"
                          "}\n"
                          "complete -F _zentrix_cli zentrix-cli\n");
    return out;
}

} // namespace

void printProgramUsage(std::FILE *to)
{
    QString out = QStringLiteral("usage: zentrix-cli COMMAND [ARGS...]\n");
    for (const Command &c : Commands())
        for (const QString &form : QString::fromUtf8(c.synopsis).split(u'\n'))
            out += QStringLiteral("  zentrix-cli %1%2\n")
                       .arg(QLatin1String(c.name), form.isEmpty() ? QString() : u' ' + form);
    out += QStringLiteral("Every command takes --lang en|de|fr, --quiet and --help. "
                          "Exit status: 0 done, 1 failed, 2 bad usage.\n");
    if (to == stdout)
        printBytes(out.toUtf8());
    else
        std::fputs(out.toUtf8().constData(), to);
}

int runHelp(Options &o)
{
    if (o.positional.size() > 1 || (o.has("--man") && o.has("--completion")) ||
        (!o.positional.isEmpty() && (o.has("--man") || o.has("--completion"))))
        return o.usageError();
    if (o.has("--man")) {
        printBytes(manPage().toUtf8());
        return 0;
    }
    if (o.has("--completion")) {
        printBytes(completion().toUtf8());
        return 0;
    }
    if (o.positional.isEmpty()) {
        printProgramUsage(stdout);
        return 0;
    }
    const Command *c = FindCommand(o.positional.first());
    if (!c)
        return o.usageError(o.positional.first() + QStringLiteral(": unknown command"));
    printBytes(commandHelp(*c).toUtf8());
    return 0;
}

int runVersion(Options &o)
{
    if (!o.positional.isEmpty())
        return o.usageError();
    printLine(versionLine());
    return 0;
}

} // namespace zx::cli
