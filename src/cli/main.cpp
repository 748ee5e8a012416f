#include "i18n/Catalogue.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 2 && args[1] == QLatin1String("--version")) {
        std::printf("%s%s\n", qPrintable(zx::Catalogue::productTitleFor(1)),
                    qPrintable(zx::Catalogue::versionTextConstant()));
        return 0;
    }
    std::fprintf(stderr, "usage: zentrix-cli --version | COMMAND ...\n");
    return 2;
}
