#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <map>
#include <vector>

namespace sorvane::test {

// One item of a tree as found on disk. Paths are relative to the root, as
// raw bytes, so that names that are not valid UTF-8 are kept too.
struct TreeItem {
    char kind = '?';  // 'f' file, 'd' folder, 'l' symbolic link, 's' anything else
    ino_t inode = 0;
    qint64 size = 0;
    QByteArray content;  // SHA-256 of a file's bytes, a link's target text
    bool operator==(const TreeItem&) const = default;
};
using Inventory = std::map<QByteArray, TreeItem>;

// A temporary folder with helpers to fill it and to take stock of it, so a
// test can show that an operation lost, replaced or changed nothing.
class TempTree {
public:
    TempTree();
    // Removes the tree itself, byte name by byte name, after giving every
    // folder back its owner's permissions: QTemporaryDir leaves behind
    // read-only folders and names that are not UTF-8.
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    bool IsValid() const { return mDir.isValid(); }
    QString Root() const { return mDir.path(); }
    QString Path(const QString& relative) const;  // Root() + "/" + relative
    QByteArray NativePath(const QByteArray& relative) const;

    // Each makes missing parent folders first; false on any failure.
    bool MakeFile(const QString& relative, const QByteArray& content = {});
    bool MakeFolder(const QString& relative);
    bool MakeSymlink(const QString& relative, const QString& target);
    bool MakeHardLink(const QString& relative, const QString& existing);
    bool MakeFifo(const QString& relative);
    // A file whose name is given as raw bytes (for names that are not UTF-8).
    bool MakeRawFile(const QByteArray& relative, const QByteArray& content = {});

    QByteArray Read(const QString& relative) const;

    // Every item under the root, not following symbolic links.
    Inventory Take() const;

    // The items without their paths, sorted: equal before and after a rename
    // exactly when nothing was lost, replaced or changed.
    static std::vector<TreeItem> Contents(const Inventory& inventory);

private:
    bool MakeParents(const QByteArray& native) const;

    QTemporaryDir mDir;
};

}  // namespace sorvane::test
