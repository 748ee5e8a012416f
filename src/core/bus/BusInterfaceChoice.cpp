#include "bus/BusInterfaceChoice.h"

#include "platform/FileAccess.h"

#include <QDir>
#include <QList>

namespace zx {

namespace {
constexpr const char *KindKey = "INTERFACE=";
constexpr const char *HostKey = "HOST=";
} // namespace

BusInterfaceChoice BusInterfaceChoice::Load(const QString &workDir)
{
    BusInterfaceChoice choice;
    const FileContent file = ReadRegularFile(QDir(workDir).filePath(QLatin1String(FileName)), 4096);
    if (file.status != ReadStatus::Read)
        return choice;
    for (const QByteArray &raw : file.content.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith(KindKey)) {
            const QByteArray v = line.mid(int(qstrlen(KindKey)));
            choice.kind = v == "ip" ? Kind::Ip : v == "com2" ? Kind::Com2 : Kind::Com1;
        } else if (line.startsWith(HostKey)) {
            choice.host = QString::fromUtf8(line.mid(int(qstrlen(HostKey)))).trimmed();
        }
    }
    return choice;
}

bool BusInterfaceChoice::save(const QString &workDir, QString *error) const
{
    const char *kindText = kind == Kind::Ip ? "ip" : kind == Kind::Com2 ? "com2" : "com1";
    const QByteArray text = QByteArray(KindKey) + kindText + "\r\n" + HostKey + host.toUtf8() + "\r\n";
    return WriteFileAtomically(QDir(workDir).filePath(QLatin1String(FileName)), text, error);
}

} // namespace zx
