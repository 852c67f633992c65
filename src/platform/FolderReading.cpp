// The reading of a folder: its files and subfolders, the entries matching a
// pattern, and one read that also keeps what stands at every name.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/ForEachEntry.h"
#include "platform/NativePath.h"

namespace sorvane {

using namespace native_path;

namespace {

// The file kind that readdir tells, or 0 when it does not know.
mode_t KindOf(unsigned char type) {
    switch (type) {
        case DT_REG:
            return S_IFREG;
        case DT_DIR:
            return S_IFDIR;
        case DT_LNK:
            return S_IFLNK;
        case DT_FIFO:
            return S_IFIFO;
        case DT_SOCK:
            return S_IFSOCK;
        case DT_CHR:
            return S_IFCHR;
        case DT_BLK:
            return S_IFBLK;
        default:
            return 0;
    }
}

// Whether an entry with these attributes counts under mask: its bits other
// than folder all within the mask, and a folder only with the folder bit.
bool WithinMask(int attributes, int mask) {
    if ((attributes & kAttrFolder) && !(mask & kAttrFolder)) return false;
    return (attributes & ~mask & ~kAttrFolder) == 0;
}

// Attributes of a directory entry from its d_type, with an fstatat only when
// the type is unknown or the read-only bit decides. -1 when the entry is gone.
int EntryAttributes(DIR* dir, const dirent* entry, int mask) {
    const bool hidden = IsHiddenName(entry->d_name);
    const mode_t kind = KindOf(entry->d_type);
    if (kind != 0) {
        const int guess = AttributesOf(kind | S_IWUSR, hidden);
        // Links are never read-only; otherwise the bit matters only when the
        // mask leaves it out and the rest of the bits already pass.
        if (kind == S_IFLNK || (mask & kAttrReadOnly) || !WithinMask(guess, mask)) return guess;
    }
    struct stat st;
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return -1;
    return AttributesOf(st.st_mode, hidden);
}

// "*" any run of characters, "?" exactly one (one UTF-16 unit, as the program
// counts characters); exact case.
bool WildcardMatch(QStringView pattern, QStringView name) {
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

}  // namespace

// Both are one read of the folder (ReadFolder), so that they and a rename
// run's listing take every entry alike.
QList<FolderEntry> FileSystem::SubFolders(const QString& folder, int* error) const {
    FolderListing listing;
    const int err = ReadFolder(folder, 0, false, false, listing);
    if (error) *error = err;
    return std::move(listing.folders);
}

QStringList FileSystem::Files(const QString& folder, int mask, int* error) const {
    FolderListing listing;
    const int err = ReadFolder(folder, mask, true, false, listing);
    if (error) *error = err;
    return listing.FileNames();
}

bool FileSystem::EntryExists(const QString& pattern, int mask) const {
    QByteArray native, folder, nameBytes;
    if (!ToNative(pattern, &native) || native.isEmpty() || native.endsWith('/')) return false;
    SplitNative(native, &folder, &nameBytes);
    if (IsDotOrDotDot(nameBytes.constData())) return false;
    const QString name = Decode(nameBytes);
    if (!name.contains(u'*') && !name.contains(u'?')) {
        const int attributes = GetAttributes(pattern);
        return attributes >= 0 && WithinMask(attributes, mask);
    }
    bool found = false;
    ForEachEntry(folder, [&](DIR* dir, const dirent* entry) {
        if (!WildcardMatch(name, Decode(QByteArrayView(entry->d_name)))) return true;
        const int attributes = EntryAttributes(dir, entry, mask);
        found = attributes >= 0 && WithinMask(attributes, mask);
        return !found;
    });
    return found;
}

// ---------------------------------------------------------------------------
// One read of a folder

namespace {

bool HasAsciiLetter(const char* name) {
    for (; *name; ++name)
        if ((*name >= 'a' && *name <= 'z') || (*name >= 'A' && *name <= 'Z')) return true;
    return false;
}

bool HasHighByte(const char* name) {
    for (; *name; ++name)
        if (static_cast<unsigned char>(*name) >= 0x80) return true;
    return false;
}

// The name with the case of every ASCII letter turned over.
QByteArray FlippedCase(const char* name) {
    QByteArray flipped(name);
    for (char& c : flipped)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c ^= 0x20;
    return flipped;
}

// Characters whose canonical equivalent is ASCII (KELVIN SIGN, GREEK
// QUESTION MARK, GREEK VARIA): on a file system that normalises names, an
// entry holding one is found under a plain ASCII name.
bool HasAsciiEquivalent(const char* name, size_t length) {
    static constexpr const char* kSigns[] = {"\xE2\x84\xAA", "\xCD\xBE", "\xE1\xBF\xAF"};
    for (const char* sign : kSigns)
        if (::memmem(name, length, sign, std::strlen(sign))) return true;
    return false;
}

// Whether the folder tells letter cases apart, tested on one entry whose
// name has an ASCII letter: the name with its letters' case turned over
// must lead nowhere, or to an item of its own that the folder lists under
// that name. A volume mounted through FUSE gives the other spelling of the
// same entry a node number of its own, so a different number alone tells
// nothing. False when it cannot be told. known: the stat of the entry
// named knownName, already made, when there is one.
template <typename Listed>
bool KeepsCaseApart(int dir, const QByteArray& probe, Listed listed, const QByteArray& knownName,
                    const struct stat* known) {
    if (probe.isEmpty()) return false;
    const QByteArray other = FlippedCase(probe.constData());
    struct stat entry, flipped;
    if (known && probe == knownName)
        entry = *known;
    else if (::fstatat(dir, probe.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (::fstatat(dir, other.constData(), &flipped, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    return (entry.st_dev != flipped.st_dev || entry.st_ino != flipped.st_ino) &&
           listed(FileSystem::Decode(other));
}

// What the names of a folder tell of whether its listing can answer for a
// name: one name with an ASCII letter, to test the folder's letter case on,
// and whether a name holds a character that a normalising file system
// finds under ASCII.
class CaseProbe {
public:
    void See(const char* name, size_t length) {
        if (mProbe.isEmpty() && HasAsciiLetter(name)) mProbe = QByteArray(name, qsizetype(length));
        if (!mUnsure && HasHighByte(name)) mUnsure = HasAsciiEquivalent(name, length);
    }
    // dir: the folder, still open; listed(name): whether the folder lists
    // name; known: the stat of the entry knownName, or nullptr.
    template <typename Listed>
    bool NamesExact(int dir, Listed listed, const QByteArray& knownName,
                    const struct stat* known) const {
        return !mUnsure && KeepsCaseApart(dir, mProbe, listed, knownName, known);
    }

private:
    QByteArray mProbe;
    bool mUnsure = false;
};

}  // namespace

// Each entry is taken as Files and SubFolders take it: a folder by d_type is
// stat'ed for its attributes, another entry only when its kind is unknown or
// the read-only bit decides; an entry gone by then is left out of both.
int FileSystem::ReadFolder(const QString& folder, int mask, bool withFiles, bool withNames,
                           FolderListing& listing) const {
    listing.Clear();
    QByteArray native;
    if (!ToNative(folder, &native)) return EINVAL;
    CaseProbe probe;
    // One entry and the inode number the listing gave for it, to hold
    // against the item's own.
    QByteArray inodeProbe;
    ino_t probeInode = 0;
    // Each name is decoded where the files keep theirs: it stays there when
    // the entry is a file, and is taken back otherwise.
    QString& text = listing.mFiles.OpenText();
    // The folder's device, and room for its files before the first entry
    // (see Reserve), from one stat of it.
    bool folderStated = false;
    const auto statFolder = [&](DIR* dir, bool beforeEntry) {
        struct stat st;
        if (std::exchange(folderStated, true) || ::fstat(::dirfd(dir), &st) != 0) return;
        listing.mDevice = st.st_dev;
        if (beforeEntry && withFiles) listing.Reserve(st.st_size, withNames);
    };
    const auto take = [&](DIR* dir, const dirent* entry) {
        statFolder(dir, true);
        const size_t length = std::strlen(entry->d_name);
        const qsizetype mark = text.size();
        if (!AppendDecoded(QByteArrayView(entry->d_name, qsizetype(length)), text))
            listing.mAsciiNames = false;
        bool file = false;
        const auto keepOrTakeBack = qScopeGuard([&] {
            if (!file) text.truncate(mark);
        });
        const QStringView name = QStringView(text).sliced(mark);

        mode_t kind = KindOf(entry->d_type);
        int attributes = -1;  // of a folder, or of a file when known
        bool stated = false;
        if (kind == 0 || kind == S_IFDIR) {
            struct stat st;
            if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return true;
            kind = st.st_mode & S_IFMT;
            attributes = AttributesOf(st.st_mode, IsHiddenName(entry->d_name));
            stated = true;
        }
        if (kind == S_IFDIR) {
            listing.folders.append(FolderEntry{name.toString(), attributes, entry->d_ino});
        } else if (entry->d_type == DT_DIR) {
            return true;  // no folder any more: neither list takes it
        }
        if (kind != S_IFDIR && withFiles) {
            if (!stated) attributes = EntryAttributes(dir, entry, mask);
            if (attributes < 0) return true;
            file = !(attributes & kAttrFolder) && WithinMask(attributes, mask & ~kAttrFolder);
            if (file) listing.AddFile(entry->d_ino);
        }
        if (withNames) {
            listing.AddName(name, kind == S_IFDIR, file);
            probe.See(entry->d_name, length);
        }
        if (inodeProbe.isEmpty()) {
            inodeProbe = QByteArray(entry->d_name, qsizetype(length));
            probeInode = entry->d_ino;
        }
        return true;
    };
    const auto finish = [&](DIR* dir) {
        statFolder(dir, false);
        struct stat st;
        // A volume mounted through FUSE may give no inode numbers in its
        // listing (or numbers of its own): then the listing tells no item's
        // identity, and none is kept.
        const bool stated = !inodeProbe.isEmpty() && ::fstatat(::dirfd(dir), inodeProbe.constData(),
                                                               &st, AT_SYMLINK_NOFOLLOW) == 0;
        if (!inodeProbe.isEmpty() && (!stated || st.st_ino != probeInode)) listing.ForgetInodes();
        if (!withNames) return;
        // Mostly the same entry: its stat serves the case probe as well.
        listing.mExact = probe.NamesExact(
            ::dirfd(dir), [&](const QString& name) { return listing.HasName(name); }, inodeProbe,
            stated ? &st : nullptr);
        if (listing.mExact) {
            listing.BuildTable();
        } else if (listing.mAsciiNames) {
            listing.BuildFoldedTable();
        }
    };
    return ForEachEntry(native, take, finish);
}

}  // namespace sorvane
