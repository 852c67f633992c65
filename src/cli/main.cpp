#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << QStringLiteral("Sorvane %1\n").arg(QStringLiteral(SORVANE_VERSION_TEXT));
    return 0;
}
