#include "rename/CollisionRemover.h"

#include <cerrno>

#include "platform/MakeFolders.h"
#include "rename/RenameHelpers.h"

namespace sorvane {

using namespace Qt::StringLiterals;
using namespace rename_helpers;

namespace {

constexpr qint32 kDeleteShowStep = 200;

}  // namespace

CollisionRemover::CollisionRemover(const FileSystem& fs, clsCancel& progress)
    : mFs(fs), mProgress(progress) {}

// True when the user stopped the removal at target c.
bool CollisionRemover::ShowDeleteProgress(TargetStore& targets, const QString& basePath, qint32 c) {
    if (mProgress.WantsTexts()) {
        mProgress.SetCaption(QStringLiteral("変換作業中 ") + Num(targets.Count() - c - 1) +
                             QStringLiteral(" 衝突削除中"));
        mProgress.SetTitle(QStringLiteral("衝突ファイル削除中 / ") + Num(mDeleted));
        mProgress.SetText(basePath + targets.OldPath(c));
    }
    if (!mProgress.DoCancel(QStringLiteral("衝突ファイル削除中 / 済 ") + Num(mDeleted)))
        return false;
    targets.Status(c).SetRenameOutcome(RenameOutcome::StoppedDeleting);
    return true;
}

// A target marked 3 is marked 9 once its colliding file has been dealt with,
// whether or not the removal worked: a file still there makes the rename
// refuse, and the rename reports it. mDeleted counts only the files really
// removed.
bool CollisionRemover::DeleteCollisions(TargetStore& targets, const QString& basePath,
                                        DeleteMode delMode, const QString& delTarget) {
    QString dest;
    if (delMode == DeleteMode::ToFolder) {
        dest = MakeDeleteFolder(basePath, delTarget);
        if (dest.isEmpty()) return false;
    }
    QStringList batch;
    qint32 nextShow = targets.Count() - 1;
    for (qint32 c = targets.Count() - 1; c >= 0; --c) {
        if (c <= nextShow) {
            nextShow -= kDeleteShowStep;
            if (delMode == DeleteMode::ToTrash) {
                mProgress.SetText(QStringLiteral("削除中…"));
                RecycleFiles(batch);
            }
            if (ShowDeleteProgress(targets, basePath, c)) return false;
        }
        TargetStatus& status = targets.Status(c);
        if (status != TargetStatus(Verdict::FileExistsDelete)) continue;
        const QString oldFull = basePath + targets.OldPath(c);
        const QString collided = basePath + targets.NewPath(c);
        // The user agreed to replace the file, not to lose it: when the
        // target itself has gone meanwhile, the file stays and the target is
        // a plain skip.
        if (!mFs.Exists(oldFull)) {
            status.SetVerdict(Verdict::FileExists);
            continue;
        }
        // Only a file that is not the target itself is ever removed; a
        // folder that took the name meanwhile is left alone.
        if (mFs.FileExists(collided) && !IsTargetItself(mFs, oldFull, collided)) {
            switch (delMode) {
                case DeleteMode::ToTrash:
                    batch.append(collided);
                    break;
                case DeleteMode::Forced:
                    if (mFs.DeleteFile(collided, true)) ++mDeleted;
                    break;
                case DeleteMode::ToFolder:
                    if (MoveAside(collided, dest + targets.NewPath(c))) ++mDeleted;
                    break;
                default:
                    break;
            }
        }
        status.SetVerdict(Verdict::DeletedRename);
    }
    if (delMode == DeleteMode::ToTrash) {
        mProgress.SetText(QStringLiteral("削除中…"));
        RecycleFiles(batch);
    }
    return true;
}

// A file that could not go to the trash stays where it is; it is never
// deleted instead.
void CollisionRemover::RecycleFiles(QStringList& batch) {
    for (const QString& path : std::as_const(batch))
        if (mFs.FileExists(path) && mTrash.MoveToTrash(path)) ++mDeleted;
    batch.clear();
}

// The colliding file keeps its path relative to the start folder under the
// delete folder, and never replaces anything there.
bool CollisionRemover::MoveAside(const QString& from, const QString& to) {
    MoveResult result = mFs.MoveItem(from, to);
    if (result != MoveStatus::Ok && result != MoveStatus::Exists &&
        result != MoveStatus::NotFound && MakeFolders(mFs, FileSystem::ParentFolderName(to)))
        result = mFs.MoveItem(from, to);
    if (result.OtherFileSystem()) result = mFs.MoveFileAcrossFileSystems(from, to);
    return result == MoveStatus::Ok;
}

// On Linux the drive tag is empty: target/<last folder of start>_del<stamp><nn>.
// Each candidate is created by this run itself (mkdir fails on an existing
// name), so two runs in the same second never share a delete folder.
QString CollisionRemover::MakeDeleteFolder(const QString& start, const QString& target) {
    if (FileSystem::DriveName(start).isEmpty() || target.isEmpty()) return {};
    const QString name = FileSystem::BuildPath(target, FileSystem::GetFileName(start)) +
                         QStringLiteral("_del") +
                         mClock().toString(QStringLiteral("yyyyMMddHHmmss"));
    if (!MakeFolders(mFs, FileSystem::ParentFolderName(name))) return {};
    for (int n = 0; n < 100; ++n) {
        const QString candidate = name + QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
        if (mFs.Exists(candidate)) continue;
        if (mFs.MakeFolder(candidate)) return candidate + u'/';
        if (!mFs.Exists(candidate)) return {};
    }
    return {};
}

}  // namespace sorvane
