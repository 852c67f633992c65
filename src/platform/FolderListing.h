#pragma once

#include <sys/types.h>

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/NameTable.h"
#include "platform/PackedNames.h"

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

    QList<FolderEntry> folders;  // as FileSystem::SubFolders, in listing order

    // The files, as FileSystem::Files, in listing order; their names lie
    // packed side by side (see PackedNames).
    qsizetype FileCount() const { return mFiles.size(); }
    QStringView FileName(qsizetype i) const { return mFiles[i]; }
    // The text the files' names lie in.
    const QString& FileText() const { return mFiles.Text(); }
    QStringList FileNames() const;
    // Lets go of the files' names and numbers; folders stay.
    void ReleaseFiles();
    // The same, handing the names over.
    PackedNames TakeFiles();
    // The inode number of file i as the listing gave it, and the device
    // of the folder: together the identity of the item, known without a
    // stat per entry. 0 where the listing's numbers are not the items' own.
    ino_t FileInode(qsizetype i) const { return mFileInodes[i]; }
    dev_t Device() const { return mDevice; }

    // What the listing saw at name: nothing, a non-folder or a folder. The
    // names are read where files and folders hold them: asked while both
    // are as the read left them.
    // Unknown when only the file system can tell: names were not kept, the
    // name has characters beyond ASCII, which a file system may normalise,
    // or the folder ignores letter case (or could not be tested for it) and
    // the folder or the name is one its folding could surprise (see
    // BuildFoldedTable). entry, when given, receives the name of the entry
    // that holds name: on a folder that ignores case, it may be spelt
    // otherwise.
    Holder At(QStringView name, QStringView* entry = nullptr) const;
    // Whether At answers from the listing exactly (the folder keeps case
    // apart).
    bool NamesExact() const { return mExact; }
    // Whether every name read is plain ASCII: none holds a surrogate, of a
    // character or of a byte that is not UTF-8.
    bool NamesAscii() const { return mAsciiNames; }
    // Ends the lookups and hands over the table's memory, for a caller to
    // reuse instead of touching fresh memory; At answers Unknown after it.
    NameTable TakeTable();
    void Clear();

private:
    friend class FileSystem;
    // The last name of mFiles' open text, decoded there, becomes a file.
    void AddFile(ino_t inode);
    // Room for the entries of a folder of folderBytes (its size), made at
    // once: see the definition.
    void Reserve(qint64 folderBytes, bool withNames);
    // Every entry's name, after the entry went into files or folders, or
    // into neither (then name is kept apart).
    void AddName(QStringView name, bool folder, bool file);
    void BuildTable();
    // For a folder that ignores letter case: the table by names with A-Z
    // folded, where every name is plain ASCII and no two fold alike.
    void BuildFoldedTable();
    void ForgetInodes();
    // Whether a name was seen, asked once a folder is read.
    bool HasName(QStringView name) const;

    // Where entry i's name is kept: in files, in folders or apart, and at
    // which position there. Each name is held once, whichever list has it.
    enum Place : quint32 { InFiles = 0, InFolders = 1u << 30, Apart = 2u << 30 };
    static constexpr quint32 kPlaceMask = 3u << 30;
    QStringView Name(size_t entry) const;

    // The lists grow by realloc (QList), which moves a large one's pages
    // rather than copying them into fresh memory.
    PackedNames mFiles;
    QList<ino_t> mFileInodes;
    dev_t mDevice = 0;
    QList<quint32> mEntries;  // Place | position, by entry
    PackedNames mApart;       // names of entries in neither list
    NameTable mTable;         // indices into mEntries
    bool mExact = false;
    bool mFolded = false;  // the table holds names with A-Z folded
    bool mAsciiNames = true;
};

}  // namespace sorvane
