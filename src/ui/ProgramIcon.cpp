#include "ui/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace sorvane {

// Drawn here rather than left to an icon plugin: the program then shows its
// icon wherever Qt SVG itself is installed.
QIcon ProgramIcon() {
    QSvgRenderer renderer(QStringLiteral(":/icons/sorvane.svg"));
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace sorvane
