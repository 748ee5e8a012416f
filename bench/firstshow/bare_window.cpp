// The yardstick of the start-up measurement: a Qt application showing one empty window.
// With --label the window holds one line of text, which is what Qt's first use of fonts and
// text layout costs any window that shows a word.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0)
        (new QVBoxLayout(&window))->addWidget(new QLabel(QStringLiteral("Zentrix")));
    window.show();
    return app.exec();
}
