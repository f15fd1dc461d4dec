// vantic-icon SIZE OUT.png: draws the program's icon with its own picture
// code, for the desktop entry. Runs at build time, without a display.

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "qt/qt_pictures.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: vantic-icon SIZE OUT.png\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication qt(argc, argv);
    const int size = std::atoi(argv[1]);
    if (size < 16 || size > 1024) {
        std::fputs("vantic-icon: SIZE must be 16 to 1024\n", stderr);
        return 2;
    }
    if (!vantic::PaintIcon(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "vantic-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
