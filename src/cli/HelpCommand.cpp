// zentrix-cli help and --version: the usage, the man page and the bash completion, all made
// from the command table so that none of them can drift from what the parser accepts.
#include "CliTexts.h"
#include "Commands.h"

#include "i18n/Catalogue.h"
#include "platform/ProductVersion.h"

#include <QRegularExpression>

#include <algorithm>

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

// The words a value of an option can be completed to: its alternatives ("on|off"), the words of
// a list ("switching,priority,..."), and small number ranges ("0..4"). Placeholders (FILE, N,
// HH:MM, D.M, "-") are no words to insert.
QStringList valueWords(const char *value)
{
    static const QRegularExpression word(QStringLiteral("^[a-z][a-z0-9-]*$"));
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression range(QStringLiteral("^([0-9]+)\\.\\.([0-9]+)$"));
    QStringList words;
    if (!value)
        return words;
    const QStringList alternatives = QString::fromLatin1(value).split(u'|');
    for (const QString &a : alternatives) {
        if (const auto m = range.match(a); m.hasMatch()) {
            const int from = m.captured(1).toInt(), to = m.captured(2).toInt();
            if (to - from <= 15)
                for (int v = from; v <= to; ++v)
                    words << QString::number(v);
        } else if (digits.match(a).hasMatch() && alternatives.size() > 1) {
            words << a; // "517|236", "0|1"
        } else {
            const QStringList items = a.split(u',');
            if (std::all_of(items.begin(), items.end(),
                            [](const QString &i) { return word.match(i).hasMatch(); }))
                words << items;
        }
    }
    words.removeDuplicates();
    return words;
}

// The literal words a command takes as its n-th argument in any of its forms ("switching" after
// add FILE, "search" after bus).
QStringList argumentWords(const Command &c, int n)
{
    static const QRegularExpression literal(QStringLiteral("^[a-z]+(\\|[a-z]+)*$"));
    QStringList words;
    for (const QString &form : QString::fromUtf8(c.synopsis).split(u'\n')) {
        QStringList arguments;
        for (const QString &token : form.split(u' ', Qt::SkipEmptyParts)) {
            if (token.startsWith(u'-') || token.startsWith(u'[') || token.startsWith(u'('))
                break;
            arguments << token;
        }
        if (n < arguments.size() && literal.match(arguments[n]).hasMatch())
            words << arguments[n].split(u'|');
    }
    words.removeDuplicates();
    return words;
}

QString completion()
{
    QStringList names;
    for (const Command &c : Commands())
        names << QLatin1String(c.name);
    QString out = QStringLiteral(
        "# bash completion for zentrix-cli, made by \"zentrix-cli help --completion\" from its command "
        "table.\n"
        "# The number of the argument being completed among the command's own (0: the first after the\n"
        "# command word), the options and the values of those in $valopts left out.\n"
        "_zentrix_cli_argument()\n{\n"
        "    local i w n=0 seen=''\n"
        "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
        "        w=${COMP_WORDS[i]}\n"
        "        if [[ ${COMP_WORDS[i+1]} == = ]]; then\n"
        "            i=$((i + 2))\n"
        "        elif [[ $w == -* ]]; then\n"
        "            if [[ $w == --lang || $w == --workdir || \" $valopts \" == *\" $w \"* ]]; then\n"
        "                i=$((i + 1))\n"
        "            fi\n"
        "        elif [[ -z $seen ]]; then\n"
        "            seen=1\n"
        "        else\n"
        "            n=$((n + 1))\n"
        "        fi\n"
        "    done\n"
        "    echo $n\n"
        "}\n"
        "_zentrix_cli()\n{\n"
        "    local cur prev w i cmd='' opts='' valopts='' fileopts='' values='' words=''\n"
        "    cur=${COMP_WORDS[COMP_CWORD]}\n"
        "    prev=${COMP_WORDS[COMP_CWORD-1]}\n"
        "    # bash splits --option=value at the \"=\": complete the value of the option before it\n"
        "    if [[ $cur == = ]]; then\n"
        "        cur=''\n"
        "    elif [[ $prev == = ]]; then\n"
        "        prev=${COMP_WORDS[COMP_CWORD-2]}\n"
        "    fi\n"
        "    # the command: the first word that is no option before it (--lang and --workdir take a value)\n"
        "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
        "        w=${COMP_WORDS[i]}\n"
        "        if [[ ${COMP_WORDS[i+1]} == = ]]; then\n"
        "            i=$((i + 2))\n"
        "        elif [[ $w == --lang || $w == --workdir ]]; then\n"
        "            i=$((i + 1))\n"
        "        elif [[ $w != -* ]]; then\n"
        "            cmd=$w\n"
        "            break\n"
        "        fi\n"
        "    done\n"
        "    case $prev in\n"
        "        --port) COMPREPLY=($(compgen -W \"$(ls /dev/ttyS* /dev/ttyUSB* /dev/ttyACM* 2>/dev/null)\" "
        "-- \"$cur\")); return ;;\n"
        "        --workdir) COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n"
        "    esac\n"
        "    if [[ -z $cmd ]]; then\n"
        "        case $prev in\n"
        "            --lang) COMPREPLY=($(compgen -W \"en de fr\" -- \"$cur\")); return ;;\n"
        "        esac\n"
        "        if [[ $cur == -* ]]; then\n"
        "            COMPREPLY=($(compgen -W \"--lang --workdir --quiet --help --version\" -- \"$cur\"))\n"
        "        else\n"
        "            COMPREPLY=($(compgen -W \"");
    out += names.join(u' ');
    out += QStringLiteral("\" -- \"$cur\"))\n"
                          "        fi\n"
                          "        return\n"
                          "    fi\n"
                          "    case $cmd in\n");
    for (const Command &c : Commands()) {
        QStringList opts;
        QStringList valueOptions;
        QStringList fileOptions;
        QStringList choiceCases;
        auto take = [&](const OptionSpec &o) {
            opts << QLatin1String(o.name);
            if (!o.value)
                return;
            valueOptions << QLatin1String(o.name);
            const QString v = QLatin1String(o.value);
            if (v.contains(QLatin1String("FILE")) || v.contains(QLatin1String("OUT")))
                fileOptions << QLatin1String(o.name);
            const QStringList words = valueWords(o.value);
            if (!words.isEmpty())
                choiceCases << QStringLiteral("                %1) values=\"%2\" ;;\n")
                                   .arg(QLatin1String(o.name), words.join(u' '));
        };
        for (const OptionSpec &o : c.options)
            take(o);
        for (const OptionSpec &o : CommonOptions())
            take(o);
        QStringList argumentCases;
        for (int n = 0; n < 3; ++n) {
            const QStringList words = qstrcmp(c.name, "help") == 0 && n == 0 ? names : argumentWords(c, n);
            if (!words.isEmpty())
                argumentCases
                    << QStringLiteral("                %1) words=\"%2\" ;;\n").arg(n).arg(words.join(u' '));
        }
        out += QStringLiteral("        %1)\n            opts=\"%2\"\n            valopts=\"%3\"\n"
                              "            fileopts=\"%4\"\n            case $prev in\n%5            esac\n")
                   .arg(QLatin1String(c.name), opts.join(u' '), valueOptions.join(u' '),
                        fileOptions.join(u' '), choiceCases.join(QString()));
        if (!argumentCases.isEmpty())
            out += QStringLiteral("            case $(_zentrix_cli_argument) in\n%1"
                                  "            esac ;;\n")
                       .arg(argumentCases.join(QString()));
        else
            out += QStringLiteral("            ;;\n");
    }
    out += QStringLiteral(
        "    esac\n"
        "    if [[ -n $values ]]; then\n"
        "        COMPREPLY=($(compgen -W \"$values\" -- \"$cur\"))\n"
        "    elif [[ $cur == -* ]]; then\n"
        "        COMPREPLY=($(compgen -W \"$opts\" -- \"$cur\"))\n"
        "    elif [[ \" $valopts \" == *\" $prev \"* && \" $fileopts \" != *\" $prev \"* ]]; then\n"
        "        # a value to type (a time, a number, a name): nothing to offer\n"
        "        COMPREPLY=()\n"
        "    elif [[ -n $words && \" $valopts \" != *\" $prev \"* ]]; then\n"
        "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
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
    if (!o.expectArguments({QStringLiteral("COMMAND")}, 0))
        return 2;
    if (o.has("--man") && o.has("--completion"))
        return o.usageError(cliText(CliText::ExcludeEachOther, o.language())
                                .arg(QStringLiteral("--man"), QStringLiteral("--completion")));
    if (!o.positional.isEmpty() && (o.has("--man") || o.has("--completion")))
        return o.usageError(o.positional.first() + QStringLiteral(": ") +
                            cliText(CliText::UnexpectedArgument, o.language()));
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
        return o.usageError(o.positional.first() + QStringLiteral(": ") +
                            cliText(CliText::UnknownCommand, o.language()));
    printBytes(commandHelp(*c).toUtf8());
    return 0;
}

int runVersion(Options &o)
{
    if (!o.expectArguments({}))
        return 2;
    printLine(versionLine());
    return 0;
}

} // namespace zx::cli
