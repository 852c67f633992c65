#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <cstdio>

#include "cli/CliCommands.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = sorvane::RunCli(args, out, err);
    out.flush();
    err.flush();
    return status;
}
