#include "platform/ComPortMap.h"

#include "platform/FileAccess.h"
#include "platform/TextDecoding.h"

#include <QDir>
#include <QFile>

namespace zx {

namespace {

// A value as the ini format may quote it.
QString unquoted(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.mid(1, value.size() - 2);
    return value.trimmed();
}

} // namespace

ComPortMap::ComPortMap(const QString &workDir) : path_(QDir(workDir).filePath(QLatin1String(FileName)))
{
    const FileContent file = ReadRegularFile(path_, 64 * 1024);
    if (!file.ok())
        return;
    bool inPorts = false;
    for (QString line : decodeText(file.content).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inPorts = line.compare(QLatin1String("[ports]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inPorts || eq < 0 || !line.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int com = line.mid(3, eq - 3).trimmed().toInt(&ok);
        const QString device = unquoted(line.mid(eq + 1));
        if (ok && com >= 1 && !device.isEmpty())
            chosen_[com] = device;
    }
}

QString ComPortMap::defaultDevice(int com)
{
    return QStringLiteral("/dev/ttyS%1").arg(com - 1);
}

QString ComPortMap::device(int com) const
{
    const auto it = chosen_.find(com);
    return it != chosen_.end() ? it->second : defaultDevice(com);
}

void ComPortMap::setDevice(int com, const QString &path)
{
    const QString device = path.trimmed();
    if (device.isEmpty() || device == defaultDevice(com))
        chosen_.erase(com);
    else
        chosen_[com] = device;
}

bool ComPortMap::save(QString *error) const
{
    QString text = QStringLiteral("[ports]\n");
    for (int com = 1; com <= PortCount; ++com)
        text += QStringLiteral("COM%1=%2\n").arg(com).arg(device(com));
    for (const auto &[com, device] : chosen_) {
        if (com > PortCount)
            text += QStringLiteral("COM%1=%2\n").arg(com).arg(device);
    }
    QString reason;
    if (WriteFileAtomically(path_, encodeText(text), &reason))
        return true;
    if (error)
        *error = FileErrorText(path_, reason);
    return false;
}

QStringList ComPortMap::candidates()
{
    QStringList list;
    for (int com = 1; com <= PortCount; ++com)
        list << defaultDevice(com);
    const QDir dev(QStringLiteral("/dev"));
    const QStringList adapters = dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                               QDir::System | QDir::Files, QDir::Name);
    for (const QString &name : adapters)
        list << dev.filePath(name);
    return list;
}

} // namespace zx
