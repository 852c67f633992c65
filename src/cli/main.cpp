#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <cstdio>

#include "cli/CliCommands.h"
#include "platform/FileSystem.h"

// The arguments by their bytes: a folder whose name is not UTF-8 is named
// exactly (Qt's own list would read such bytes as replacement characters).
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args;
    for (int i = 1; i < argc; ++i) args.append(sorvane::FileSystem::Decode(argv[i]));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = sorvane::RunCli(args, out, err);
    out.flush();
    err.flush();
    return status;
}
