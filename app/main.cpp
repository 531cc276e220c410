#include <QApplication>

#include "window/main_window.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("buffon-needle"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setDesktopFileName(QStringLiteral("buffon-needle"));

    buffon::MainWindow window;
    window.show();
    // Closing the window, through Exit or the frame, ends the program.
    return QApplication::exec();
}
