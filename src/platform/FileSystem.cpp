#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QHash>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sorvane {

// ---------------------------------------------------------------------------
// System calls of a rename

int RenameSystemCalls::Renameat2NoReplace(const char* from, const char* to) {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

int RenameSystemCalls::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}

// Flags 0: a link to a symbolic link names the link itself, never its target.
int RenameSystemCalls::Link(const char* from, const char* to) {
    return ::linkat(AT_FDCWD, from, AT_FDCWD, to, 0);
}

int RenameSystemCalls::Unlink(const char* path) {
    return ::unlinkat(AT_FDCWD, path, 0);
}

namespace {

RenameSystemCalls& DefaultCalls() {
    static RenameSystemCalls calls;
    return calls;
}

// The bytes handed to the system. A NUL would cut the path short, and text
// that does not survive the trip to UTF-8 and back (a lone surrogate) would
// name some other file; both are refused rather than guessed at.
//
// Text survives the trip exactly when it holds no surrogate without its
// partner, which one scan tells.
bool IsWellFormed(QStringView text) {
    const char16_t* at = text.utf16();
    const char16_t* const end = at + text.size();
    for (; at < end; ++at) {
        const char16_t unit = *at;
        if (unit == 0) return false;
        if (unit < 0xD800 || unit > 0xDFFF) continue;
        if (unit > 0xDBFF || at + 1 == end || at[1] < 0xDC00 || at[1] > 0xDFFF) return false;
        ++at;
    }
    return true;
}

bool ToNative(QStringView path, QByteArray* bytes) {
    if (!IsWellFormed(path)) return false;
    *bytes = path.toUtf8();
    return true;
}

// A code for "anything else" that can never be read as success, not found,
// target folder missing or exists.
int Failure(int err) {
    if (err == 0 || err == kRenameNotFound || err == kRenameTargetFolderMissing ||
        err == kRenameExists)
        return EIO;
    return err;
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool IsHiddenName(const char* name) {
    return name[0] == '.' && !IsDotOrDotDot(name);
}

// The path without trailing separators; the root stays "/".
QByteArray WithoutTrailingSlash(const QByteArray& path, bool* hadSlash = nullptr) {
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == '/') --end;
    if (hadSlash) *hadSlash = end < path.size();
    return path.left(end);
}

// lstat that never follows a final symbolic link. A trailing "/" would make
// the kernel follow it, so it is dropped, and then the item must be a
// folder, as the "/" demands.
bool Lstat(const QByteArray& path, struct stat* st) {
    bool slash = false;
    const QByteArray bare = WithoutTrailingSlash(path, &slash);
    if (bare.isEmpty()) {
        errno = ENOENT;
        return false;
    }
    if (::fstatat(AT_FDCWD, bare.constData(), st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (slash && !S_ISDIR(st->st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

// The folder part and the last component of a path, by bytes. The folder of
// a bare name is "." and of "/name" is "/".
void SplitNative(const QByteArray& path, QByteArray* folder, QByteArray* name) {
    const QByteArray bare = WithoutTrailingSlash(path);
    const qsizetype slash = bare.lastIndexOf('/');
    if (slash < 0) {
        *folder = QByteArrayLiteral(".");
        *name = bare;
        return;
    }
    *name = bare.mid(slash + 1);
    qsizetype cut = slash;
    while (cut > 0 && bare[cut - 1] == '/') --cut;
    *folder = cut == 0 ? QByteArrayLiteral("/") : bare.left(cut);
}

// Attribute bits of an item. A symbolic link is a file of its own, whatever
// it points to: never a folder, never system; it carries archive like every
// other file that can be renamed, and hidden by its name. Its own permission
// bits mean nothing on Linux, so it is never read-only.
int AttributesOf(mode_t mode, bool hidden) {
    int attributes = hidden ? kAttrHidden : 0;
    if (S_ISLNK(mode)) return attributes | kAttrArchive;
    if (!(mode & S_IWUSR)) attributes |= kAttrReadOnly;
    if (S_ISDIR(mode)) return attributes | kAttrFolder;
    if (S_ISREG(mode)) return attributes | kAttrArchive;
    return attributes | kAttrSystem;
}

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

// Calls visit(dir, entry) for every entry but "." and ".." until it returns
// false. Returns 0 or the errno of opening or reading the folder.
template <typename Visit>
int ForEachEntry(const QByteArray& folder, Visit visit) {
    DIR* dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir) return errno;
    int err = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            err = errno;
            break;
        }
        if (IsDotOrDotDot(entry->d_name)) continue;
        if (!visit(dir, entry)) break;
    }
    ::closedir(dir);
    return err;
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

// kRenameNotFound when the item itself is missing; when it is there, what
// was missing is the folder of the new name.
int MissingCode(const QByteArray& from) {
    struct stat st;
    return Lstat(from, &st) ? kRenameTargetFolderMissing : kRenameNotFound;
}

bool WriteAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= n;
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction and conversions

FileSystem::FileSystem() : mCalls(&DefaultCalls()) {}

FileSystem::FileSystem(RenameSystemCalls& calls) : mCalls(&calls) {}

QByteArray FileSystem::Encode(const QString& path) {
    return path.toUtf8();
}

bool FileSystem::Decode(const QByteArray& bytes, QString* name) {
    // Plain ASCII is valid as it stands.
    bool ascii = true;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        *name = QString::fromLatin1(bytes);
        return true;
    }
    QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) return false;
    *name = std::move(text);
    return true;
}

// ---------------------------------------------------------------------------
// Existence, attributes, identity

bool FileSystem::FileExists(const QString& path) const {
    QByteArray native;
    struct stat st;
    return ToNative(path, &native) && Lstat(native, &st) && !S_ISDIR(st.st_mode);
}

bool FileSystem::FolderExists(const QString& path) const {
    QByteArray native;
    struct stat st;
    return ToNative(path, &native) && Lstat(native, &st) && S_ISDIR(st.st_mode);
}

bool FileSystem::FolderExistsFollowingLink(const QString& path) const {
    QByteArray native;
    struct stat st;
    return ToNative(path, &native) && !native.isEmpty() && ::stat(native.constData(), &st) == 0 &&
           S_ISDIR(st.st_mode);
}

bool FileSystem::Exists(const QString& path) const {
    QByteArray native;
    struct stat st;
    return ToNative(path, &native) && Lstat(native, &st);
}

int FileSystem::GetAttributes(const QString& path) const {
    QByteArray native;
    struct stat st;
    if (!ToNative(path, &native) || !Lstat(native, &st)) return -1;
    QByteArray folder, name;
    SplitNative(native, &folder, &name);
    return AttributesOf(st.st_mode, IsHiddenName(name.constData()));
}

FileIdentity FileSystem::Identity(const QString& path) const {
    QByteArray native;
    struct stat st;
    if (!ToNative(path, &native) || !Lstat(native, &st)) return {};
    return {st.st_dev, st.st_ino, true};
}

// The exact name wins (a hard link has its own name). Otherwise, on a
// case-insensitive file system, the entry that is the same item, preferring
// one whose name equals the asked one regardless of case over another hard
// link to it.
QString FileSystem::StoredName(const QString& path) const {
    QByteArray native, folder, name;
    struct stat target;
    if (!ToNative(path, &native) || !Lstat(native, &target)) return {};
    SplitNative(native, &folder, &name);
    if (name.isEmpty() || IsDotOrDotDot(name.constData())) return {};
    const QString asked = QString::fromUtf8(name);

    QString exact, caseless, alias;
    ForEachEntry(folder, [&](DIR* dir, const dirent* entry) {
        const QByteArray entryName(entry->d_name);
        QString text;
        if (!Decode(entryName, &text)) return true;
        if (entryName == name) {
            exact = text;
            return false;
        }
        const bool sameText = text.compare(asked, Qt::CaseInsensitive) == 0;
        if (!sameText && (!alias.isEmpty() || entry->d_ino != target.st_ino)) return true;
        if (sameText && !caseless.isEmpty()) return true;
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return true;
        if (st.st_dev != target.st_dev || st.st_ino != target.st_ino) return true;
        (sameText ? caseless : alias) = text;
        return true;
    });
    if (!exact.isEmpty()) return exact;
    return caseless.isEmpty() ? alias : caseless;
}

// ---------------------------------------------------------------------------
// Path parts

QString FileSystem::ParentFolderName(const QString& path) {
    qsizetype end = path.size();
    while (end > 0 && path[end - 1] == u'/') --end;
    if (end == 0) return {};  // "" or the root: nothing above
    const qsizetype slash = path.lastIndexOf(u'/', end - 1);
    if (slash < 0) return {};
    qsizetype cut = slash;
    while (cut > 0 && path[cut - 1] == u'/') --cut;
    return cut == 0 ? QStringLiteral("/") : path.left(cut);
}

QString FileSystem::DriveName(const QString& path) {
    return path.startsWith(u'/') ? QStringLiteral("/") : QString();
}

QString FileSystem::GetFileName(const QString& path) {
    qsizetype end = path.size();
    while (end > 0 && path[end - 1] == u'/') --end;
    const qsizetype slash = end > 0 ? path.lastIndexOf(u'/', end - 1) : -1;
    return path.mid(slash + 1, end - slash - 1);
}

QString FileSystem::GetBaseName(const QString& path) {
    const QString name = GetFileName(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString FileSystem::GetExtensionName(const QString& path) {
    const QString name = GetFileName(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

// An empty name still gets its "/": a name appended later then lands inside
// the folder, not glued to its last component.
QString FileSystem::BuildPath(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return name;
    qsizetype end = folder.size();
    while (end > 0 && folder[end - 1] == u'/') --end;
    qsizetype start = 0;
    while (start < name.size() && name[start] == u'/') ++start;
    return folder.left(end) + u'/' + name.mid(start);
}

QString FileSystem::GetAbsolutePathName(const QString& path) const {
    QString full = path;
    if (!path.startsWith(u'/')) {
        const QString current = CurrentDirectory();
        if (current.isEmpty()) return {};
        full = current + u'/' + path;
    }
    QStringList parts;
    for (const QStringView part : QStringView(full).split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".") continue;
        if (part == u"..") {
            if (!parts.isEmpty()) parts.removeLast();
            continue;
        }
        parts.append(part.toString());
    }
    return u'/' + parts.join(u'/');
}

// ---------------------------------------------------------------------------
// Listing

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
    return std::move(listing.files);
}

bool FileSystem::EntryExists(const QString& pattern, int mask) const {
    QByteArray native, folder, nameBytes;
    if (!ToNative(pattern, &native) || native.isEmpty() || native.endsWith('/')) return false;
    SplitNative(native, &folder, &nameBytes);
    if (IsDotOrDotDot(nameBytes.constData())) return false;
    const QString name = QString::fromUtf8(nameBytes);
    if (!name.contains(u'*') && !name.contains(u'?')) {
        const int attributes = GetAttributes(pattern);
        return attributes >= 0 && WithinMask(attributes, mask);
    }
    bool found = false;
    ForEachEntry(folder, [&](DIR* dir, const dirent* entry) {
        QString entryName;
        if (!Decode(QByteArray(entry->d_name), &entryName) || !WildcardMatch(name, entryName))
            return true;
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

bool IsAscii(const QString& name) {
    for (const QChar c : name)
        if (c.unicode() >= 0x80) return false;
    return true;
}

// Whether the folder tells letter cases apart, tested on one entry whose
// name has an ASCII letter: the name with its letters' case turned over
// must not lead to the same item. False when it cannot be told.
bool KeepsCaseApart(int dir, const QByteArray& probe) {
    if (probe.isEmpty()) return false;
    struct stat entry, flipped;
    if (::fstatat(dir, probe.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (::fstatat(dir, FlippedCase(probe.constData()).constData(), &flipped,
                  AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    return entry.st_dev != flipped.st_dev || entry.st_ino != flipped.st_ino;
}

}  // namespace

void FolderListing::Clear() {
    files.clear();
    folders.clear();
    mNames.clear();
    mFolder.clear();
    mHashes.clear();
    mTable.clear();
    mExact = false;
}

void FolderListing::AddName(const QString& name, bool folder) {
    mNames.push_back(name);
    mFolder.push_back(folder);
}

void FolderListing::BuildTable() {
    const size_t n = mNames.size();
    size_t capacity = 8;
    while (capacity < n * 2) capacity *= 2;
    const size_t mask = capacity - 1;
    mTable.assign(capacity, -1);
    mHashes.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const size_t h = mHashes[i] = qHash(mNames[i]);
        size_t at = h & mask;
        while (mTable[at] >= 0) at = (at + 1) & mask;
        mTable[at] = qint32(i);
    }
}

FolderListing::Holder FolderListing::At(const QString& name) const {
    if (!mExact || mTable.empty() || !IsAscii(name)) return Holder::Unknown;
    const size_t mask = mTable.size() - 1;
    const size_t h = qHash(name);
    for (size_t at = h & mask;; at = (at + 1) & mask) {
        const qint32 i = mTable[at];
        if (i < 0) return Holder::Nothing;
        if (mHashes[size_t(i)] == h && mNames[size_t(i)] == name)
            return mFolder[size_t(i)] ? Holder::Folder : Holder::File;
    }
}

// Each entry is taken as Files and SubFolders take it: a folder by d_type is
// stat'ed for its attributes, another entry only when its kind is unknown or
// the read-only bit decides; an entry gone by then is left out of both.
int FileSystem::ReadFolder(const QString& folder, int mask, bool withFiles, bool withNames,
                           FolderListing& listing) const {
    listing.Clear();
    QByteArray native;
    if (!ToNative(folder, &native)) return EINVAL;
    DIR* dir = ::opendir(native.isEmpty() ? "." : native.constData());
    if (!dir) return errno;
    QByteArray probe;
    bool unsure = false;
    int err = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            err = errno;
            break;
        }
        if (IsDotOrDotDot(entry->d_name)) continue;
        const size_t length = std::strlen(entry->d_name);
        QString name;
        if (!Decode(QByteArray(entry->d_name, qsizetype(length)), &name)) continue;

        mode_t kind = KindOf(entry->d_type);
        int attributes = -1;  // of a folder, or of a file when known
        bool stated = false;
        if (kind == 0 || kind == S_IFDIR) {
            struct stat st;
            if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            kind = st.st_mode & S_IFMT;
            attributes = AttributesOf(st.st_mode, IsHiddenName(entry->d_name));
            stated = true;
        }
        if (kind == S_IFDIR) {
            listing.folders.append(FolderEntry{name, attributes});
        } else if (entry->d_type == DT_DIR) {
            continue;  // no folder any more: neither list takes it
        } else if (withFiles) {
            if (!stated) attributes = EntryAttributes(dir, entry, mask);
            if (attributes < 0) continue;
            if (!(attributes & kAttrFolder) && WithinMask(attributes, mask & ~kAttrFolder))
                listing.files.append(name);
        }
        if (withNames) {
            listing.AddName(name, kind == S_IFDIR);
            if (probe.isEmpty() && HasAsciiLetter(entry->d_name))
                probe = QByteArray(entry->d_name, qsizetype(length));
            if (!unsure && HasHighByte(entry->d_name))
                unsure = HasAsciiEquivalent(entry->d_name, length);
        }
    }
    if (withNames) {
        listing.mExact = !unsure && KeepsCaseApart(::dirfd(dir), probe);
        if (listing.mExact) listing.BuildTable();
    }
    ::closedir(dir);
    return err;
}

// ---------------------------------------------------------------------------
// Changes

bool FileSystem::DeleteFile(const QString& path, bool force) const {
    QByteArray native;
    struct stat st;
    if (!ToNative(path, &native) || !Lstat(native, &st) || S_ISDIR(st.st_mode)) return false;
    // As on the platforms with a read-only attribute, only force removes a
    // read-only file.
    if (!force && (AttributesOf(st.st_mode, false) & kAttrReadOnly)) return false;
    // Flags 0: unlinkat refuses a folder, should one have taken the name since.
    return ::unlinkat(AT_FDCWD, native.constData(), 0) == 0;
}

bool FileSystem::MakeFolder(const QString& path) const {
    QByteArray native;
    return ToNative(path, &native) && !native.isEmpty() && ::mkdir(native.constData(), 0777) == 0;
}

QString FileSystem::CurrentDirectory() const {
    char* current = ::getcwd(nullptr, 0);
    if (!current) return {};
    QString text;
    const bool ok = Decode(QByteArray(current), &text);
    std::free(current);
    return ok ? text : QString();
}

bool FileSystem::SetCurrentDirectory(const QString& path) const {
    QByteArray native;
    return ToNative(path, &native) && !native.isEmpty() && ::chdir(native.constData()) == 0;
}

// ---------------------------------------------------------------------------
// Rename without replacing
//
// Every route checks that nothing is at the new name in the same step that
// takes it (RENAME_NOREPLACE, or link(), which fails on any existing name);
// only where the file system offers neither is the check a separate lstat.
// A dangling symbolic link at the new name is an existing item, and no
// route follows a final link.

int FileSystem::MoveItem(const QString& from, const QString& to) const {
    QByteArray source, target;
    if (!ToNative(from, &source) || !ToNative(to, &target)) return EINVAL;
    if (source.isEmpty()) return kRenameNotFound;

    // A new name without a last component ("", "dir/", "dir/.") names no new
    // item; when it names an existing folder, that is a collision.
    QByteArray folder, name;
    SplitNative(target, &folder, &name);
    if (target.endsWith('/') || name.isEmpty() || IsDotOrDotDot(name.constData())) {
        struct stat st;
        return Lstat(target, &st) ? kRenameExists : EINVAL;
    }

    // A rename to the very same path leaves the item where it was asked to
    // be; nothing is touched.
    if (source == target) {
        struct stat st;
        if (Lstat(source, &st)) return kRenameOk;
        return errno == ENOENT ? kRenameNotFound : Failure(errno);
    }
    return Move(source, target, true);
}

FolderHandle::~FolderHandle() { Close(); }

void FolderHandle::Close() {
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
    mFolder.clear();
}

namespace {

// A name that MoveItem takes as one item of its folder, as it is.
bool IsPlainName(QStringView name) {
    return !name.isEmpty() && !name.contains(u'/') && name != u"." && name != u"..";
}

}  // namespace

// The rename relative to the open folder does what MoveItem's first step
// does on the whole paths. Anything else, a failure included, is left to
// MoveItem itself, which starts again from the paths and finds what went
// wrong; a failed rename has changed nothing. A stand-in for the system
// calls always gets the paths.
int FileSystem::MoveItemIn(FolderHandle& handle, const QString& folder, QStringView from,
                           QStringView to) const {
    QByteArray source, target;
    if (mCalls == &DefaultCalls() && !folder.isEmpty() && IsPlainName(from) &&
        IsPlainName(to) && from != to && ToNative(from, &source) && ToNative(to, &target)) {
        // The same text as the last time is mostly the very same string.
        const bool same = handle.mFd >= 0 && (handle.mFolder.constData() == folder.constData()
                                                  ? handle.mFolder.size() == folder.size()
                                                  : handle.mFolder == folder);
        if (!same) {
            handle.Close();
            QByteArray native;
            if (ToNative(folder, &native)) {
                handle.mFd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                if (handle.mFd >= 0) handle.mFolder = folder;
            }
        }
        if (handle.mFd >= 0 && ::renameat2(handle.mFd, source.constData(), handle.mFd,
                                           target.constData(), RENAME_NOREPLACE) == 0)
            return kRenameOk;
    }
    QString fromPath = folder, toPath = folder;
    fromPath += from;
    toPath += to;
    return MoveItem(fromPath, toPath);
}

int FileSystem::Move(const QByteArray& from, const QByteArray& to, bool sameItemAllowed) const {
    if (mCalls->Renameat2NoReplace(from.constData(), to.constData()) == 0) return kRenameOk;
    const int err = errno;
    switch (err) {
        // Like EEXIST: a folder holding something is at the new name.
        case ENOTEMPTY:
            return Collision(from, to, sameItemAllowed);
        // The file system refuses the flag (or the kernel lacks the call).
        // EINVAL is also the answer for a folder moved into itself; the
        // fallback's own rename then fails the same way.
        case EINVAL:
        case ENOSYS:
            return MoveWithoutNoReplace(from, to, sameItemAllowed);
        default:
            return Refused(err, from, to, sameItemAllowed);
    }
}

int FileSystem::MoveWithoutNoReplace(const QByteArray& from, const QByteArray& to,
                                     bool sameItemAllowed) const {
    struct stat st;
    if (!Lstat(from, &st)) return errno == ENOENT ? kRenameNotFound : Failure(errno);
    if (S_ISDIR(st.st_mode)) return CheckedRename(from, to, sameItemAllowed);

    if (mCalls->Link(from.constData(), to.constData()) == 0) {
        if (mCalls->Unlink(from.constData()) == 0) return kRenameOk;
        // Leave the item with its old name only, as if nothing happened.
        const int err = errno;
        mCalls->Unlink(to.constData());
        return Failure(err);
    }
    const int err = errno;
    switch (err) {
        // No hard links here (FAT, some network file systems, protected
        // links) or too many of them: a checked rename is what remains.
        case EPERM:
        case EOPNOTSUPP:
        case EMLINK:
        case ENOSYS:
            return CheckedRename(from, to, sameItemAllowed);
        default:
            return Refused(err, from, to, sameItemAllowed);
    }
}

// Where neither the no-replace rename nor a second link is possible, the
// new name is first reserved with a placeholder only this program can have
// made (an exclusive empty file, or an empty folder for a folder), and the
// plain rename then replaces nothing but that placeholder. Whatever takes
// the name before the reservation is a collision; a folder placeholder that
// someone fills makes the rename fail; a file placeholder is checked to be
// still ours and empty right before the rename.
int FileSystem::CheckedRename(const QByteArray& from, const QByteArray& to,
                              bool sameItemAllowed) const {
    struct stat source;
    if (!Lstat(from, &source)) return errno == ENOENT ? kRenameNotFound : Failure(errno);
    const bool folder = S_ISDIR(source.st_mode);
    if (folder) {
        if (::mkdir(to.constData(), 0700) != 0) return Refused(errno, from, to, sameItemAllowed);
    } else {
        const int fd =
            ::open(to.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return Refused(errno, from, to, sameItemAllowed);
        ::close(fd);
    }
    struct stat reserved;
    if (!Lstat(to, &reserved)) return Failure(errno == ENOENT ? EIO : errno);
    const auto stillOurs = [&] {
        struct stat now;
        return Lstat(to, &now) && now.st_dev == reserved.st_dev && now.st_ino == reserved.st_ino &&
               (folder || (S_ISREG(now.st_mode) && now.st_size == 0 && now.st_nlink == 1));
    };
    if (!stillOurs()) return kRenameExists;
    if (mCalls->Rename(from.constData(), to.constData()) == 0) return kRenameOk;
    const int err = errno;
    if (stillOurs()) {
        if (folder) {
            ::rmdir(to.constData());
        } else {
            ::unlink(to.constData());
        }
    }
    if (err == ENOENT) return MissingCode(from);
    if (err == EEXIST || err == ENOTEMPTY) return kRenameExists;
    return Failure(err);
}

// The new name was refused with err (read before anything else can change
// errno): something is there, the item has gone, or a plain failure.
int FileSystem::Refused(int err, const QByteArray& from, const QByteArray& to,
                        bool sameItemAllowed) const {
    if (err == EEXIST) return Collision(from, to, sameItemAllowed);
    if (err == ENOENT) return MissingCode(from);
    return Failure(err);
}

// Something is at the new name. It may be the item itself: on a file system
// that ignores letter case (of A-Z or of any letters, depending on the file
// system) both names lead to one directory entry with the same device and
// inode, and the new spelling is reached through a free temporary name. A
// hard link at the new name has the same identity too, but it is a separate
// entry: the second step of the temporary route then refuses to replace it
// and the item gets its old name back, so it stays a collision.
int FileSystem::Collision(const QByteArray& from, const QByteArray& to,
                          bool sameItemAllowed) const {
    if (!sameItemAllowed) return kRenameExists;
    struct stat source, target;
    if (!Lstat(from, &source) || !Lstat(to, &target) || source.st_dev != target.st_dev ||
        source.st_ino != target.st_ino)
        return kRenameExists;
    return MoveThroughTemporary(from, to);
}

// Both steps go through the no-replace rename, so a new name that turns out
// to be a separate entry (a hard link on a case-sensitive file system) fails
// the second step, and the item gets its old name back.
int FileSystem::MoveThroughTemporary(const QByteArray& from, const QByteArray& to) const {
    QByteArray folder, name;
    SplitNative(from, &folder, &name);
    const QByteArray prefix = (folder.endsWith('/') ? folder : folder + '/') + ".sorvane-" +
                              QByteArray::number(::getpid()) + '-';
    for (int n = 0; n < 100; ++n) {
        const QByteArray temporary = prefix + QByteArray::number(n) + ".tmp";
        int result = Move(from, temporary, false);
        if (result == kRenameExists) continue;
        if (result != kRenameOk) return result;
        result = Move(temporary, to, false);
        if (result == kRenameOk) return kRenameOk;
        // If even the way back fails, the item sits at the temporary name; say
        // so with a plain failure, never with "exists" or "not found".
        if (Move(temporary, from, false) != kRenameOk) return EIO;
        return result;
    }
    return EEXIST;  // no free temporary name: a failure, not a collision at the new name
}

// Moves a file or a symbolic link to another file system: the copy is made
// under a name that nothing else holds (O_EXCL, symlink), written to disk,
// and only then is the original removed; any failure removes the copy and
// leaves the original. Folders are never moved this way.
int FileSystem::MoveFileAcrossFileSystems(const QString& from, const QString& to) const {
    const QByteArray source = Encode(from);
    const QByteArray target = Encode(to);
    struct stat st;
    if (::lstat(source.constData(), &st) != 0) return errno == ENOENT ? kRenameNotFound : EIO;

    if (S_ISLNK(st.st_mode)) {
        QByteArray link(qsizetype(st.st_size) + 1, '\0');
        const ssize_t length = ::readlink(source.constData(), link.data(), size_t(link.size()));
        if (length < 0 || length >= link.size()) return EIO;
        link.truncate(length);
        if (::symlink(link.constData(), target.constData()) != 0)
            return errno == EEXIST ? kRenameExists : EIO;
        if (::unlink(source.constData()) != 0) {
            ::unlink(target.constData());
            return EIO;
        }
        return kRenameOk;
    }
    if (!S_ISREG(st.st_mode)) return EXDEV;

    const int in = ::open(source.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0) return errno == ENOENT ? kRenameNotFound : EIO;
    struct stat opened;
    if (::fstat(in, &opened) != 0 || opened.st_dev != st.st_dev || opened.st_ino != st.st_ino) {
        ::close(in);
        return EIO;
    }
    const int out =
        ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return err == EEXIST ? kRenameExists : EIO;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        if (!WriteAll(out, buffer, n)) {
            ok = false;
            break;
        }
    }
    ok = ::fsync(out) == 0 && ok;
    ok = ::close(out) == 0 && ok;
    ::close(in);
    // The original goes only when the name still holds the file just copied.
    struct stat now;
    ok = ok && ::lstat(source.constData(), &now) == 0 && now.st_dev == st.st_dev &&
         now.st_ino == st.st_ino && ::unlink(source.constData()) == 0;
    if (!ok) {
        ::unlink(target.constData());
        return EIO;
    }
    return kRenameOk;
}

}  // namespace sorvane
