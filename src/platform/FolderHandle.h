#pragma once

#include <QByteArray>
#include <QString>

namespace sorvane {

class FileSystem;

// A folder kept open for FileSystem::MoveItemIn, so that many renames in
// one folder do not each walk the folder's path. Closed when destroyed.
class FolderHandle {
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    void Close();

private:
    friend class FileSystem;
    QString mFolder;
    int mFd = -1;
    QByteArray mFrom, mTo;  // the names of the last rename, their room reused
};

}  // namespace sorvane
