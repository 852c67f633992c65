#pragma once

#include <sys/types.h>

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/NameTable.h"

namespace sorvane {

class FileSystem;

struct FolderEntry {
    QString name;
    int attributes = 0;
    ino_t inode = 0;  // as the listing gave it
};

// One read of a folder, for a rename run: its files within an attribute
// mask, its real subfolders, and what stands at a name in the folder.
class FolderListing {
public:
    enum class Holder { Nothing, File, Folder, Unknown };

    QStringList files;           // as FileSystem::Files, in listing order
    QList<FolderEntry> folders;  // as FileSystem::SubFolders, in listing order

    // The inode number of files[i] as the listing gave it, and the device
    // of the folder: together the identity of the item, known without a
    // stat per entry. 0 where the listing's numbers are not the items' own.
    ino_t FileInode(qsizetype i) const { return mFileInodes[i]; }
    const QList<ino_t>& FileInodes() const { return mFileInodes; }
    dev_t Device() const { return mDevice; }

    // What the listing saw at name: nothing, a non-folder or a folder. The
    // names are read where files and folders hold them: asked while both
    // are as the read left them.
    // Unknown when only the file system can tell: names were not kept, the
    // folder ignores letter case (or could not be tested for it), or the
    // name has characters beyond ASCII, which a file system may normalise.
    Holder At(QStringView name) const;
    // Whether At answers from the listing (the folder keeps case apart).
    bool NamesExact() const { return mExact; }
    void Clear();

private:
    friend class FileSystem;
    void AddFile(const QString& name, ino_t inode);
    // Every entry's name, after the entry went into files or folders, or
    // into neither (then name is kept apart).
    void AddName(const QString& name, bool folder, bool file);
    void BuildTable();
    void ForgetInodes();
    // Whether a name was seen, asked once a folder is read.
    bool HasName(QStringView name) const;

    // Where entry i's name is kept: in files, in folders or apart, and at
    // which position there. Each name is held once, whichever list has it.
    enum Place : quint32 { InFiles = 0, InFolders = 1u << 30, Apart = 2u << 30 };
    static constexpr quint32 kPlaceMask = 3u << 30;
    QStringView Name(size_t entry) const;

    QList<ino_t> mFileInodes;  // grows in place, not copied
    dev_t mDevice = 0;
    QList<quint32> mEntries;  // Place | position, by entry
    QStringList mApart;       // names of entries in neither list
    NameTable mTable;         // indices into mEntries
    bool mExact = false;
};

}  // namespace sorvane
