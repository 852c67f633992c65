// Whether an item is there, and what it is: its attributes, its identity
// and the name it has on disk.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "platform/FileSystem.h"
#include "platform/ForEachEntry.h"
#include "platform/NameFolding.h"
#include "platform/NativePath.h"
#include "platform/VolumeKind.h"

namespace sorvane {

using namespace native_path;

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

bool FileSystem::IsSymbolicLink(const QString& path) const {
    QByteArray native;
    struct stat st;
    return ToNative(path, &native) && Lstat(native, &st) && S_ISLNK(st.st_mode);
}

QString FileSystem::LinkTarget(const QString& path) const {
    QByteArray native;
    if (!ToNative(path, &native) || native.isEmpty()) return {};
    QByteArray target(PATH_MAX, Qt::Uninitialized);
    const ssize_t length = ::readlink(native.constData(), target.data(), size_t(target.size()));
    if (length <= 0 || length >= target.size()) return {};
    target.truncate(length);
    return Decode(target);
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
    const QString asked = Decode(name);

    QString exact, caseless, alias;
    const int err = ForEachEntry(folder, [&](DIR* dir, const dirent* entry) {
        const QByteArray entryName(entry->d_name);
        const QString text = Decode(entryName);
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
    // A folder that may be entered but not listed (mode 711, as shared home
    // folders are) cannot tell the stored spelling; the name as given leads
    // to the item, so it stands.
    if (err == EACCES) return asked;
    return caseless.isEmpty() ? alias : caseless;
}

NameLimit FileSystem::NameMax(const QString& folder) const {
    return VolumeOf(folder).names;
}

FileSystem::VolumeFacts FileSystem::VolumeOf(const QString& folder) const {
    QByteArray native;
    if (!ToNative(folder, &native)) return {};
    const char* path = native.isEmpty() ? "." : native.constData();
    const VolumeKind kind = KindOfVolume(path);
    return {{::pathconf(path, _PC_NAME_MAX), kind.namesInUtf16}, !kind.foldersLoseContents};
}

QStringList FileSystem::EntryNames(const QString& folder, int* error) const {
    QStringList names;
    QByteArray native;
    int err = EINVAL;
    if (ToNative(folder, &native)) {
        err = ForEachEntry(native, [&](DIR*, const dirent* entry) {
            names.append(Decode(QByteArrayView(entry->d_name)));
            return true;
        });
    }
    if (error) *error = err;
    return names;
}

bool FileSystem::SameEntrySpeltOtherwise(const QString& folder, QStringView oldName,
                                         QStringView newName) const {
    QByteArray from, to;
    return ToNative(BuildPath(folder, oldName.toString()), &from) &&
           ToNative(BuildPath(folder, newName.toString()), &to) &&
           SameEntrySpeltOtherwise(from, to);
}

// A byte that is not UTF-8 is folded as nothing but itself, so a name
// holding one is never overlooked as another entry for the new name.
bool FileSystem::SameEntrySpeltOtherwise(const QByteArray& from, const QByteArray& to) const {
    QByteArray folder, oldName, toFolder, newName;
    SplitNative(from, &folder, &oldName);
    SplitNative(to, &toFolder, &newName);
    if (folder != toFolder || oldName == newName) return false;
    const QString caseless = CaselessName(Decode(newName));
    if (CaselessName(Decode(oldName)) != caseless) return false;
    bool listed = false;
    bool other = false;
    ForEachEntry(folder, [&](DIR*, const dirent* entry) {
        const QByteArrayView name(entry->d_name);
        if (name == oldName) {
            listed = true;
            return true;
        }
        other = CaselessName(Decode(name)) == caseless;
        return !other;
    });
    return listed && !other;
}

bool FileSystem::Lists(const QByteArray& path) const {
    QByteArray folder, name;
    SplitNative(path, &folder, &name);
    bool listed = false;
    ForEachEntry(folder, [&](DIR*, const dirent* entry) {
        listed = name == QByteArrayView(entry->d_name);
        return !listed;
    });
    return listed;
}

}  // namespace sorvane
