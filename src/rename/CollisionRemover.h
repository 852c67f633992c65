#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/FileSystem.h"
#include "platform/Trash.h"
#include "ports/clsCancel.h"
#include "rename/DeleteMode.h"
#include "rename/TargetStore.h"

namespace sorvane {

// Removes the files that stand at the new names of a run's targets before
// the renames: to the trash, for good, or into a dated delete folder. It
// counts the files it really removed.
class CollisionRemover {
public:
    CollisionRemover(const FileSystem& fs, clsCancel& progress);
    CollisionRemover(const CollisionRemover&) = delete;
    CollisionRemover& operator=(const CollisionRemover&) = delete;

    // Deals with the colliding file of every target marked 3, from the last
    // to the first, and marks the target 9. The targets' paths are relative
    // to basePath. False when the delete folder cannot be made or the user
    // stops the removal.
    bool DeleteCollisions(TargetStore& targets, const QString& basePath, DeleteMode delMode,
                          const QString& delTarget);
    // Sends the files of batch to the trash and empties it.
    void RecycleFiles(QStringList& batch);
    // Creates the dated folder for the colliding files of the start folder
    // under target; its path ending in "/", or "" when it cannot be made.
    QString MakeDeleteFolder(const QString& start, const QString& target);
    // The local time used in delete-folder names.
    void SetClock(std::function<QDateTime()> clock) { mClock = std::move(clock); }

    // The files removed since the count was last reset.
    qint32 Deleted() const { return mDeleted; }
    void ResetCount() { mDeleted = 0; }

private:
    bool ShowDeleteProgress(TargetStore& targets, const QString& basePath, qint32 c);
    bool MoveAside(const QString& from, const QString& to);

    const FileSystem& mFs;
    Trash mTrash{mFs};
    clsCancel& mProgress;
    qint32 mDeleted = 0;
    std::function<QDateTime()> mClock = [] { return QDateTime::currentDateTime(); };
};

}  // namespace sorvane
