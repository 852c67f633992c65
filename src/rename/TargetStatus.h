#pragma once

#include <QtGlobal>

namespace sorvane {

// What list building found at a target's new name, and what the removal of
// colliding files made of it.
enum class Verdict : quint8 {
    None = 0,
    Rename = 1,            // the new name is free
    FileExists = 2,        // a file holds the new name
    FileExistsDelete = 3,  // ... and the user lets it go
    Identical = 4,         // the new name is the old one
    Duplicate = 5,         // another target gets the same new name
    OtherTarget = 6,       // the new name is another target's old name
    EmptyName = 7,         // no usable name
    FolderExists = 8,      // a folder holds the new name
    DeletedRename = 9,     // the colliding file has been dealt with
    TooLong = 10,          // the folder's file system cannot hold a name that long
    Unreadable = 11,       // a repair cannot read the name in its code page
    FolderUnsafe = 12,     // the volume's driver would lose the folder's contents
};

// What the rename did with a target.
enum class RenameOutcome : quint8 {
    None = 0,
    Renamed = 1,
    Skipped = 2,
    Failed = 3,
    StoppedDeleting = 4,  // the user stopped the removal at this target
    StoppedRenaming = 5,  // the user stopped the renames at this target
};

// What the last restore did with a target.
enum class RestoreOutcome : quint8 {
    None = 0,
    Restored = 1,
    OldNameTaken = 2,
    Gone = 3,
    Failed = 4,
    Stopped = 5,  // the user stopped the restore at this target
};

// The status of one target: its verdict, the rename's outcome and the last
// restore's outcome. Word() is the number the dry run prints and the tests
// read: verdict + 16 × rename outcome + 256 × restore outcome.
class TargetStatus {
public:
    constexpr TargetStatus() = default;
    constexpr explicit TargetStatus(Verdict verdict, RenameOutcome renamed = RenameOutcome::None)
        : mBits(quint16(quint16(verdict) | quint16(renamed) << kRenameShift)) {}

    constexpr Verdict verdict() const { return Verdict(mBits & kField); }
    constexpr RenameOutcome renameOutcome() const {
        return RenameOutcome(mBits >> kRenameShift & kField);
    }
    constexpr RestoreOutcome restoreOutcome() const {
        return RestoreOutcome(mBits >> kRestoreShift & kField);
    }

    void SetVerdict(Verdict verdict) { Set(0, quint16(verdict)); }
    void SetRenameOutcome(RenameOutcome outcome) { Set(kRenameShift, quint16(outcome)); }
    void SetRestoreOutcome(RestoreOutcome outcome) { Set(kRestoreShift, quint16(outcome)); }

    constexpr qint32 Word() const { return mBits; }
    constexpr bool operator==(const TargetStatus&) const = default;

private:
    // Four bits each, as Word() counts them: two bytes in each of a
    // million targets' records.
    static constexpr quint16 kField = 0xF;
    static constexpr int kRenameShift = 4;
    static constexpr int kRestoreShift = 8;
    void Set(int shift, quint16 value) {
        mBits = quint16((mBits & ~(kField << shift)) | (value & kField) << shift);
    }

    quint16 mBits = 0;
};

static_assert(sizeof(TargetStatus) == 2);

}  // namespace sorvane
