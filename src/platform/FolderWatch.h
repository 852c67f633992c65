#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

namespace sorvane {

// The names one folder holds, known without asking its volume for each:
// the folder's listing, read once after the kernel began to report every
// name that enters the folder (inotify), and every name reported since.
// Names that leave are never taken out, so a name is at most thought taken
// when it is free. Names are compared with A-Z folded, as a volume that
// ignores case compares them, and only while every name seen is plain
// ASCII (NameFolding.h says why); any other name, an overflow of the
// reports or the folder itself going ends the watch.
//
// The kernel reports what this system does to the folder, so this knows a
// folder only where nothing else changes the volume.
class FolderWatch {
public:
    enum class At : quint8 {
        Free,     // no entry has been seen under the name
        TheItem,  // only one, a file, and the item of the old name folds alike
        Unknown,  // anything else, or not watching
    };

    FolderWatch() = default;
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches the folder open as fd, then reads its names; false, watching
    // nothing, where it cannot.
    bool Start(int fd);
    void Stop();
    bool Watching() const { return mWatch >= 0; }

    // What may be at the new name `to` of the item `from` now, once the
    // reports so far are read.
    At Look(QByteArrayView to, QByteArrayView from);
    // As Look for a name of the program's own (a temporary name), with the
    // reports as last read.
    bool Free(QByteArrayView name);

private:
    bool ReadReports();
    bool Add(QByteArrayView name, bool folder);
    int Seen(QByteArrayView name);

    int mNotify = -1;  // kept from folder to folder
    int mWatch = -1;
    QHash<QByteArray, int> mNames;  // folded name -> entries seen under it
    QByteArray mFolded;             // the name looked for, folded
};

}  // namespace sorvane
