// Draws the board's built-in panel picture at build time, as raw 32-bit pixels (0xffRRGGBB,
// rows top to bottom) for the program to carry. Drawing it takes the program 15-20 ms at every
// start (the print face's first load, gradients, 49 recessed windows), and even decoding a PNG
// costs several (the image reader looks through the format plug-ins first); raw pixels cost a
// copy.
#include "board/BuiltinPanel.h"

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT\n", argv[0]);
        return 2;
    }
    const QImage panel = fareboard::makeBuiltinPanel().convertToFormat(QImage::Format_RGB32);
    QSaveFile out(QString::fromLocal8Bit(argv[1]));
    bool written = out.open(QIODevice::WriteOnly);
    for (int y = 0; written && y < panel.height(); ++y)
        written = out.write(reinterpret_cast<const char*>(panel.constScanLine(y)), qint64(panel.width()) * 4) ==
                  qint64(panel.width()) * 4;
    if (!written || !out.commit()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
