#pragma once

#include <QByteArrayView>
#include <QString>

namespace sorvane {

// A record file that must survive a crash of the program or of the machine:
// made exclusively (an existing file is never written over), written in
// order, and flushed to disk together with the entry in its folder when
// asked. Every call returns 0 or the errno of what failed.
class DurableFile {
public:
    DurableFile() = default;
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;
    ~DurableFile() { Close(); }

    // Makes the file at path (mode 0600: it names the user's files).
    int Create(const QString& path);
    int Write(QByteArrayView bytes);
    // The file's data and its folder's entry on disk.
    int Sync();
    void Close();

    // Appends bytes to the existing file at path, never following a
    // symbolic link and never making the file.
    static int Append(const QString& path, QByteArrayView bytes);
    // Flushes the entries of the folder at path to disk.
    static int SyncFolder(const QString& path);

private:
    int mFd = -1;
    QString mPath;
};

// Whether process pid is alive and is one of this program's (sorvane or
// sorvane-cli).
bool IsProgramProcess(qint64 pid);

}  // namespace sorvane
