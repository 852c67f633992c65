// The main window as a screen reader meets it after a run: a folder of two
// files renamed through the window's run, the log box full. Writes the
// captions of the window's buttons and check boxes (access keys removed),
// one per line, to the file given, then shows the window until it is
// killed or a minute has passed. accessibility_test.sh reads it through
// AT-SPI.

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>

#include "support/TempTree.h"
#include "ui/ScriptedDesktop.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    QApplication app(argc, argv);
    test::ScriptedDesktop desktop;
    desktop.tree.MakeFile(u"a.txt"_s, "a");
    desktop.tree.MakeFile(u"b.txt"_s, "b");
    desktop.Start();
    desktop.window.show();
    RunInputValues inputs;
    inputs.searchWord = u"*.txt"_s;
    inputs.replaceWord = u"*.dat"_s;
    inputs.wholeName = true;
    if (!desktop.frame.Start(desktop.tree.Root(), inputs).ran) return 1;
    desktop.window.LogBox().ShowEnd();

    QFile captions(QString::fromLocal8Bit(argv[1]));
    if (!captions.open(QIODevice::WriteOnly)) return 1;
    for (const QAbstractButton* button :
         desktop.window.centralWidget()->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty()) continue;
        QString caption = button->text();
        caption.remove(QRegularExpression(u"&(?!&)"_s));
        captions.write(caption.toUtf8() + '\n');
    }
    captions.close();
    QTimer::singleShot(60000, &app, &QApplication::quit);
    return app.exec();
}
