#pragma once

#include <QApplication>

namespace sorvane::test {

// The QApplication of a widget test program (offscreen platform), made on
// first use and kept until the program ends.
inline void EnsureApplication() {
    if (QApplication::instance()) return;
    // Widget tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "sorvane-widget-test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// A first base or member of a widget test fixture: the application exists
// before the fixture's windows are made.
struct WithApplication {
    WithApplication() { EnsureApplication(); }
};

}  // namespace sorvane::test
