#include "app/Application.h"

#include "i18n/Catalogue.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLabel>

#include <cstdio>

namespace zx {

int runApplication(int argc, char *argv[])
{
    // --version must work without a display.
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--version") {
            std::printf("%s%s\n", qPrintable(Catalogue::productTitleFor(1)),
                        qPrintable(Catalogue::versionTextConstant()));
            return 0;
        }
    }
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Zentrix"));
    label.show();
    return app.exec();
}

} // namespace zx
