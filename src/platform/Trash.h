#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <utility>

namespace sorvane {

class FileSystem;

// The user's trash, laid out the freedesktop.org way (Trash 1.0), so that
// the desktop's trash can list and restore what the program puts there.
//
// An item on the file system of the data folder goes to the home trash
// ($XDG_DATA_HOME/Trash); an item on any other file system goes to the trash
// at the top folder of its own file system ($topdir/.Trash/$uid when an
// administrator has set up $topdir/.Trash, else $topdir/.Trash-$uid). An item
// is never copied across file systems, and no other folder ever stands in
// for a trash that cannot be set up: the item then stays where it is.
class Trash {
public:
    explicit Trash(const FileSystem& fs);
    virtual ~Trash() = default;

    // Moves one file or symbolic link (never a folder) to files/ of its trash,
    // under its own name or, when that is taken, a numbered one, and records
    // where it came from in info/. True only when the item is in a trash;
    // trashedPath (if given) then receives its path there, else is cleared.
    // On any failure the item is where it was and no record of it is left.
    bool MoveToTrash(const QString& path, QString* trashedPath = nullptr) const;

    // The folder whose "Trash" is the home trash. Empty (the default):
    // $XDG_DATA_HOME, or $HOME/.local/share when that is unset or not
    // absolute, read at each move. Another folder serves tests.
    void SetDataFolder(const QString& folder) { mDataFolder = folder; }
    // The deletion date recorded for an item, written in local time.
    void SetClock(std::function<QDateTime()> clock) { mClock = std::move(clock); }

protected:
    // The top folder of the file system that holds folder (an absolute path
    // without symbolic links): its highest ancestor on the same device; ""
    // when that cannot be told. A test stands a temporary folder in for a
    // mount point here.
    virtual QString TopFolder(const QString& folder) const;

private:
    struct Item;

    static bool Locate(const QString& path, Item* item);
    QString DataFolder() const;
    bool MoveToTopTrash(const Item& item, QString* trashedPath) const;
    bool Store(const Item& item, const QString& trash, int infoFolder, const QString& original,
               QString* trashedPath) const;

    const FileSystem& mFs;
    QString mDataFolder;
    std::function<QDateTime()> mClock = [] { return QDateTime::currentDateTime(); };
};

}  // namespace sorvane
