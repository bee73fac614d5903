// Writes the application icon as PNG files in the hicolor theme layout:
// <folder>/<n>x<n>/apps/markvane.png for every size trays and launchers use.
#include "app/AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int pixels : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(pixels);
        const QString file = folder + QStringLiteral("/markvane.png");
        if (!QDir().mkpath(folder) || !markvane::appIconImage(pixels).save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
