#pragma once

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
};

// One read of a folder, for a rename run: its files within an attribute
// mask, its real subfolders, and what stands at a name in the folder.
class FolderListing {
public:
    enum class Holder { Nothing, File, Folder, Unknown };

    QStringList files;           // as FileSystem::Files, in listing order
    QList<FolderEntry> folders;  // as FileSystem::SubFolders, in listing order

    // What the listing saw at name: nothing, a non-folder or a folder.
    // Unknown when only the file system can tell: names were not kept, the
    // folder ignores letter case (or could not be tested for it), or the
    // name has characters beyond ASCII, which a file system may normalise.
    Holder At(const QString& name) const;
    // Whether At answers from the listing (the folder keeps case apart).
    bool NamesExact() const { return mExact; }
    void Clear();

private:
    friend class FileSystem;
    void AddName(const QString& name, bool folder);
    void BuildTable();

    std::vector<QString> mNames;
    std::vector<bool> mFolder;
    NameTable mTable;  // indices into mNames
    bool mExact = false;
};

}  // namespace sorvane
