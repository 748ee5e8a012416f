#include "platform/ComPortMap.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace zx {

static QString keyFor(int com)
{
    return QStringLiteral("ports/COM%1").arg(com);
}

ComPortMap::ComPortMap(const QString &workDir)
    : path_(QDir(workDir).filePath(QLatin1String(FileName)))
{
    if (!QFile::exists(path_))
        return;
    QSettings settings(path_, QSettings::IniFormat);
    for (const QString &key : settings.allKeys()) {
        if (!key.startsWith(QLatin1String("ports/COM")))
            continue;
        bool ok = false;
        const int com = key.mid(9).toInt(&ok);
        const QString device = settings.value(key).toString().trimmed();
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
    QSettings settings(path_, QSettings::IniFormat);
    settings.remove(QStringLiteral("ports"));
    for (int com = 1; com <= PortCount; ++com)
        settings.setValue(keyFor(com), device(com));
    for (const auto &[com, device] : chosen_) {
        if (com > PortCount)
            settings.setValue(keyFor(com), device);
    }
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        if (error)
            *error = QStringLiteral("%1: cannot be written").arg(path_);
        return false;
    }
    return true;
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
