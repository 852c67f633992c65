#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/FolderHandle.h"
#include "platform/FolderListing.h"

namespace sorvane {

// Attribute bits as the program knows them. On Linux: read-only = the owner
// has no write permission; hidden = the name begins with "."; system = not a
// regular file, folder or symbolic link; folder; archive = every regular file.
enum FileAttribute : int {
    kAttrReadOnly = 1,
    kAttrHidden = 2,
    kAttrSystem = 4,
    kAttrFolder = 16,
    kAttrArchive = 32,
};

// What a move did, as its callers act on it.
enum class MoveStatus {
    Ok,
    NotFound,  // the item is not there
    Exists,    // something holds the new name; nothing was replaced
    // The item is there but the folder of the new name is missing; kept
    // apart from NotFound so that a caller never reports the item as gone.
    TargetFolderMissing,
    Failed,  // anything else; error tells what (EXDEV: another file system)
};

// The outcome of a move, with the system's errno behind a failure.
struct MoveResult {
    MoveStatus status = MoveStatus::Failed;
    int error = 0;  // the errno of a failure; 0 otherwise

    bool operator==(MoveStatus other) const { return status == other; }
    bool operator==(const MoveResult&) const = default;
    bool OtherFileSystem() const;  // a failure only a copy can get past
};

// The identity of an item: its device and inode. Two names with the same
// identity are the same item.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool valid = false;
    bool operator==(const FileIdentity& other) const = default;
};

// The system calls that a rename uses, so that a test can stand in for a
// file system that refuses RENAME_NOREPLACE. Each returns 0 or -1 with errno.
class RenameSystemCalls {
public:
    virtual ~RenameSystemCalls() = default;
    virtual int Renameat2NoReplace(const char* from, const char* to);
    virtual int Rename(const char* from, const char* to);
    virtual int Link(const char* from, const char* to);
    virtual int Unlink(const char* path);
    // The kind of the volume of path (VolumeKind).
    virtual VolumeKind Volume(const char* path);
};

// The longest name a folder's file system holds: most bytes, or most UTF-16
// units where the volume counts so (exFAT, FAT, NTFS, FUSE; see VolumeKind).
struct NameLimit {
    qint64 most = -1;  // -1: no known limit
    bool inUtf16 = false;
    bool operator==(const NameLimit&) const = default;
};

// The file-system service: every file operation of the core goes through it.
// Paths are absolute or relative to the process's working directory and use
// "/" as the separator. It calls the system directly on the path's bytes and
// never follows a symbolic link unless it says so.
class FileSystem {
public:
    FileSystem();
    explicit FileSystem(RenameSystemCalls& calls);

    // Existence (by lstat: a dangling symbolic link is a file).
    bool FileExists(const QString& path) const;    // anything that is not a folder
    bool FolderExists(const QString& path) const;  // a real folder, not a link to one
    // A folder reached by the path, following a final symbolic link: for
    // paths the user gives (navigation, start, log and delete folders).
    bool FolderExistsFollowingLink(const QString& path) const;
    bool Exists(const QString& path) const;  // file or folder
    bool IsSymbolicLink(const QString& path) const;
    // The target of a symbolic link as it is written in the link; "" when
    // the path is no link, or the target cannot be read.
    QString LinkTarget(const QString& path) const;

    // Path parts, by text alone.
    static QString ParentFolderName(const QString& path);  // "" above the root
    static QString DriveName(const QString& path);         // "/" when absolute, else ""
    static QString GetFileName(const QString& path);       // last component
    static QString GetBaseName(const QString& path);       // last component without extension
    static QString GetExtensionName(const QString& path);  // after the last ".", "" if none
    static QString BuildPath(const QString& folder, const QString& name);  // exactly one "/"
    // Whether name names one item in a folder: not empty, no "/" and no
    // NUL, neither "." nor "..".
    static bool IsSingleName(QStringView name);
    QString GetAbsolutePathName(const QString& path) const;  // "." and ".." resolved by text
    static QString WindowsFolder() { return QStringLiteral("/"); }

    // Listing. Every entry is listed, whatever the bytes of its name. An
    // empty folder text is the working directory. When the folder cannot be read, error
    // (if given) receives the errno value and the list holds what was read;
    // otherwise error is 0.
    QList<FolderEntry> SubFolders(const QString& folder, int* error = nullptr) const;
    // Non-folders whose attribute bits are all within mask (folder bit
    // ignored); no stat per entry when the mask has the read-only bit.
    QStringList Files(const QString& folder, int mask, int* error = nullptr) const;
    // Whether an entry in the folder of pattern matches its last component
    // (a name, or a pattern with "*" and "?", exact case) and has its bits
    // other than folder within mask; folders count only with bit 16.
    bool EntryExists(const QString& pattern, int mask) const;
    // Files and SubFolders from one read of the folder: the files only when
    // withFiles, the names of all entries only when withNames. Returns 0 or
    // the errno of opening or reading the folder; the listing then holds
    // what was read.
    int ReadFolder(const QString& folder, int mask, bool withFiles, bool withNames,
                   FolderListing& listing) const;

    int GetAttributes(const QString& path) const;  // -1 when the item does not exist
    // The longest name the file system of folder holds, in the unit it
    // counts (VolumeKind); most is -1 when it cannot be told.
    NameLimit NameMax(const QString& folder) const;
    // What a rename list asks of folder's volume, from one look at it: its
    // name limit, and whether its folders may be renamed (false where its
    // driver would lose their contents, see VolumeKind).
    struct VolumeFacts {
        NameLimit names;
        bool foldersMove = true;
    };
    VolumeFacts VolumeOf(const QString& folder) const;
    FileIdentity Identity(const QString& path) const;  // not following a final link
    // The name of the last component as stored on disk (the exact name, or
    // on a case-insensitive file system the entry that is the same item);
    // "" when missing and for "/", "." and "..".
    QString StoredName(const QString& path) const;
    // The names of every entry of a folder, as they are stored; error as
    // for the listings.
    QStringList EntryNames(const QString& folder, int* error = nullptr) const;
    // Whether newName in folder leads to the item listed as oldName, spelt
    // otherwise, on a volume that compares names without case: the names
    // differ but for case (CaselessName), the folder lists oldName, and no
    // other entry has a name the volume could take for newName. For volumes
    // whose node numbers differ from one spelling to the next (FUSE).
    bool SameEntrySpeltOtherwise(const QString& folder, QStringView oldName,
                                 QStringView newName) const;

    // A rename that changes only the letter case of a name, on a volume that
    // compares names without case, goes through this temporary name in the
    // same folder, made of the process (pid) and the old name; a run stopped
    // between the two steps leaves the item there. One name only, so that a
    // restore that cannot tell items apart (no inode numbers) finds the
    // item there and nothing else; when it is taken the rename fails.
    static QString TemporaryName(QStringView name, qint64 pid);

    // Changes.
    bool DeleteFile(const QString& path, bool force) const;  // a file or link, never a folder
    bool MakeFolder(const QString& path) const;              // one folder; parent must exist
    // Renames or moves one item without ever replacing an existing one.
    MoveResult MoveItem(const QString& from, const QString& to) const;
    // Moves a file or a symbolic link onto another file system: a copy under
    // a name nothing else holds, written to disk, and only then the original
    // removed; any failure removes the copy and leaves the original. Never a
    // folder (Failed with EXDEV). A failed copy is Failed with EIO.
    MoveResult MoveFileAcrossFileSystems(const QString& from, const QString& to) const;
    // MoveItem(folder + from, folder + to) for two names in one folder (the
    // folder ending in "/"), through the folder held open by handle; the
    // handle opens the folder anew when it is given another one, and keeps
    // what the run learns of each device (FolderHandle.h). For a rename
    // that a plan found possible: an item at a new name that differs but
    // for case is taken for the item itself on a volume that ignores case,
    // without a look at the folder (MoveSpellingIn).
    MoveResult MoveItemIn(FolderHandle& handle, const QString& folder, QStringView from,
                          QStringView to) const;

    QString CurrentDirectory() const;
    bool SetCurrentDirectory(const QString& path) const;

    // Names and paths are their bytes: text carries a byte that is not
    // valid UTF-8 as a byte escape (NameBytes.h).
    // The path's bytes; a text that names no bytes (a NUL, a lone surrogate
    // that is no escape) gives "", which names no item.
    static QByteArray Encode(const QString& path);
    // The bytes the system would be handed for text, into bytes; false for
    // text that names no item exactly (a NUL or a lone surrogate that is no
    // byte escape).
    static bool EncodeExactly(QStringView text, QByteArray* bytes);
    // The text of any bytes: Encode(Decode(bytes)) == bytes.
    static QString Decode(QByteArrayView bytes);
    // Decode, onto the end of text; true when the bytes were plain ASCII.
    static bool AppendDecoded(QByteArrayView bytes, QString& text);

private:
    int MoveCode(const QString& from, const QString& to) const;
    // offers: what the run knows of the device, learned further here; null
    // where nothing is kept.
    int Move(const QByteArray& from, const QByteArray& to, bool sameItemAllowed,
             DeviceOffers* offers = nullptr) const;
    int MoveWithoutNoReplace(const QByteArray& from, const QByteArray& to, bool sameItemAllowed,
                             DeviceOffers* offers) const;
    int CheckedRename(const QByteArray& from, const QByteArray& to, bool sameItemAllowed) const;
    MoveResult MoveInOpenFolder(FolderHandle& handle, const QString& folder, QStringView from,
                                QStringView to) const;
    bool SpellingChangesInPlace(int fd) const;
    std::optional<MoveResult> MoveWatched(FolderHandle& handle, QStringView from,
                                          QStringView to) const;
    MoveResult MoveSpellingIn(FolderHandle& handle, const QString& folder, QStringView from,
                              QStringView to) const;
    int RenameAfterKernelCheck(const QByteArray& from, const QByteArray& to) const;
    VolumeKind Kind(const QByteArray& path, DeviceOffers* offers) const;
    int Refused(int err, const QByteArray& from, const QByteArray& to, bool sameItemAllowed) const;
    int Collision(const QByteArray& from, const QByteArray& to, bool sameItemAllowed) const;
    bool SameEntrySpeltOtherwise(const QByteArray& from, const QByteArray& to) const;
    bool Lists(const QByteArray& path) const;
    int MoveThroughTemporary(const QByteArray& from, const QByteArray& to,
                             DeviceOffers* offers = nullptr) const;

    RenameSystemCalls* mCalls;
};

}  // namespace sorvane
