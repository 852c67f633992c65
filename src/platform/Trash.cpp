#include "platform/Trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/NameBytes.h"
#include "platform/NativePath.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

// Numbered names tried for one item before its trash counts as full.
constexpr int kMaxEntryAttempts = 10000;
// The longest name a Linux file system takes, in bytes.
constexpr qsizetype kMaxNameBytes = 255;
constexpr char kInfoSuffix[] = ".trashinfo";
constexpr qsizetype kInfoSuffixBytes = sizeof kInfoSuffix - 1;

// The bytes of a path that name exactly that path: no NUL to cut it short,
// no lone surrogate that names no bytes, and no byte escapes that spell a
// character, which would come back as some other text.
bool ToBytes(const QString& path, QByteArray* bytes) {
    return FileSystem::EncodeExactly(path, bytes) && !bytes->isEmpty() &&
           FileSystem::Decode(*bytes) == path;
}

// The folder above an absolute path; "/" above the root.
QByteArray ParentOf(const QByteArray& path) {
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == '/') --end;
    qsizetype slash = path.lastIndexOf('/', end - 1);
    while (slash > 0 && path[slash - 1] == '/') --slash;
    return slash <= 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// The device of the data folder or, while it does not exist yet, of its
// nearest existing ancestor: the file system where it is going to be made.
bool DeviceOf(QByteArray path, dev_t* device) {
    struct stat st;
    while (::stat(path.constData(), &st) != 0) {
        if (path == "/") return false;
        path = ParentOf(path);
    }
    *device = st.st_dev;
    return true;
}

// The data folder and whatever is missing above it, each made with mode
// 0700. The data folder may be a symbolic link to a folder: users keep it
// elsewhere, and it is not a folder of the trash.
bool MakeFolders(const QByteArray& path) {
    struct stat st;
    if (::stat(path.constData(), &st) == 0) return S_ISDIR(st.st_mode);
    if (errno != ENOENT) return false;
    const QByteArray parent = ParentOf(path);
    if (parent != path && !MakeFolders(parent)) return false;
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder of a trash: made with mode 0700 when missing, and then it must be
// a real folder. A symbolic link in its place, even one to a folder, is
// refused, so nothing is ever written where a link leads. A trash folder in
// a shared place must also belong to the user, or another user could read
// what is put there.
bool MakeTrashFolder(const QByteArray& path, bool ownedByUser) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           (!ownedByUser || st.st_uid == ::geteuid());
}

// Holds a file descriptor and closes it.
class Descriptor {
public:
    explicit Descriptor(int fd) : mFd(fd) {}
    ~Descriptor() {
        if (mFd >= 0) ::close(mFd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return mFd; }

private:
    int mFd;
};

// Sets up a trash folder with its files/ and info/, and opens info/: the
// records are then created in the very folder that was checked, whatever
// happens to the path meanwhile. -1 when the trash cannot be used.
int OpenTrash(const QString& trash, bool ownedByUser) {
    QByteArray folder;
    if (!ToBytes(trash, &folder) || !MakeTrashFolder(folder, ownedByUser) ||
        !MakeTrashFolder(folder + "/files", false) || !MakeTrashFolder(folder + "/info", false))
        return -1;
    return ::open((folder + "/info").constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Creates the record name in the info folder, never over an existing one,
// and writes it whole and to disk. 0, EEXIST when the name is taken, or
// another errno value; a record that could not be written is removed.
int WriteRecord(int infoFolder, const QByteArray& name, const QByteArray& text) {
    const int fd = ::openat(infoFolder, name.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return errno == 0 ? EIO : errno;
    bool ok = native_path::WriteAll(fd, text.constData(), text.size());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok) return 0;
    ::unlinkat(infoFolder, name.constData(), 0);
    return EIO;
}

void ChopCodePoint(QString& text) {
    const qsizetype n = text.size();
    text.chop(n >= 2 && text[n - 1].isLowSurrogate() && text[n - 2].isHighSurrogate() ? 2 : 1);
}

// The attempt-th entry name for an item: its own name first, then
// "photo.2.jpg", "photo.3.jpg", … ("notes.2" without an extension; the dot
// that begins a hidden name begins no extension). The stem is shortened
// until "<entry>.trashinfo" fits in one directory entry.
QString EntryName(const QString& name, int attempt) {
    const qsizetype dot = name.lastIndexOf(u'.');
    QString stem = dot > 0 ? name.left(dot) : name;
    QString extension = dot > 0 ? name.mid(dot) : QString();
    const QString tag = attempt > 1 ? u'.' + QString::number(attempt) : QString();
    while (name_bytes::NativeSize(QString(stem + tag + extension)) + kInfoSuffixBytes >
           kMaxNameBytes)
        ChopCodePoint(stem.isEmpty() ? extension : stem);
    return stem + tag + extension;
}

}  // namespace

// An item to be trashed, by the path of its folder with every symbolic link
// resolved: the top folder of a file system is found by walking up that
// path, and the recorded original location leads back to the item even when
// the path given went through links.
struct Trash::Item {
    QString folder;
    QString name;
    QString path;  // folder + "/" + name
    dev_t device = 0;
};

Trash::Trash(const FileSystem& fs) : mFs(fs) {}

bool Trash::Locate(const QString& path, Item* item) {
    QByteArray bytes;
    if (!ToBytes(path, &bytes) || bytes.endsWith('/')) return false;
    struct stat st;
    if (::lstat(bytes.constData(), &st) != 0 || S_ISDIR(st.st_mode)) return false;

    const qsizetype slash = bytes.lastIndexOf('/');
    const QByteArray folder = slash < 0    ? QByteArrayLiteral(".")
                              : slash == 0 ? QByteArrayLiteral("/")
                                           : bytes.left(slash);
    char* real = ::realpath(folder.constData(), nullptr);
    if (!real) return false;
    const QByteArray canonical(real);
    std::free(real);
    item->folder = FileSystem::Decode(canonical);
    item->name = FileSystem::Decode(bytes.mid(slash + 1));
    item->path = FileSystem::BuildPath(item->folder, item->name);
    item->device = st.st_dev;

    // Still the item looked at, and on its folder's file system (an item
    // mounted over its own name cannot be moved at all).
    struct stat again, parent;
    return ::lstat(FileSystem::Encode(item->path).constData(), &again) == 0 &&
           again.st_dev == st.st_dev && again.st_ino == st.st_ino &&
           ::stat(canonical.constData(), &parent) == 0 && parent.st_dev == st.st_dev;
}

// The variables are read as bytes, whatever they hold; a relative value is
// no valid path and is ignored.
QString Trash::DataFolder() const {
    if (!mDataFolder.isEmpty()) return mDataFolder;
    QString folder = FileSystem::Decode(qgetenv("XDG_DATA_HOME"));
    if (folder.startsWith(u'/')) return folder;
    folder = FileSystem::Decode(qgetenv("HOME"));
    if (!folder.startsWith(u'/')) return {};
    return FileSystem::BuildPath(folder, u".local/share"_s);
}

QString Trash::TopFolder(const QString& folder) const {
    struct stat st;
    if (::stat(FileSystem::Encode(folder).constData(), &st) != 0) return {};
    QString top = folder;
    while (top != u"/") {
        const QString parent = FileSystem::ParentFolderName(top);
        struct stat above;
        if (parent.isEmpty() || ::stat(FileSystem::Encode(parent).constData(), &above) != 0)
            return {};
        if (above.st_dev != st.st_dev) break;
        top = parent;
    }
    return top;
}

bool Trash::MoveToTrash(const QString& path, QString* trashedPath) const {
    if (trashedPath) trashedPath->clear();
    Item item;
    if (!Locate(path, &item)) return false;

    const QString data = DataFolder();
    QByteArray dataBytes;
    dev_t dataDevice = 0;
    if (!data.startsWith(u'/') || !ToBytes(data, &dataBytes) || !DeviceOf(dataBytes, &dataDevice))
        return false;
    if (item.device != dataDevice) return MoveToTopTrash(item, trashedPath);

    if (!MakeFolders(dataBytes)) return false;
    const QString trash = FileSystem::BuildPath(data, u"Trash"_s);
    const Descriptor info(OpenTrash(trash, false));
    return info.Get() >= 0 && Store(item, trash, info.Get(), item.path, trashedPath);
}

// A shared $topdir/.Trash serves only as an administrator sets it up: a real
// folder with the sticky bit, so that no user can remove or rename another's
// folder in it. When it is missing, fails that check or refuses the user's
// folder, the user's own $topdir/.Trash-$uid takes the item.
bool Trash::MoveToTopTrash(const Item& item, QString* trashedPath) const {
    const QString top = TopFolder(item.folder);
    if (!top.startsWith(u'/')) return false;
    QString below;  // the original location, relative to the top folder
    if (top == u"/") {
        below = item.path.mid(1);
    } else if (item.path.startsWith(top + u'/')) {
        below = item.path.mid(top.size() + 1);
    }
    if (below.isEmpty()) return false;

    const QString uid = QString::number(::geteuid());
    const QString shared = FileSystem::BuildPath(top, u".Trash"_s);
    struct stat st;
    if (::lstat(FileSystem::Encode(shared).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
        (st.st_mode & S_ISVTX)) {
        const QString trash = FileSystem::BuildPath(shared, uid);
        const Descriptor info(OpenTrash(trash, true));
        if (info.Get() >= 0) return Store(item, trash, info.Get(), below, trashedPath);
    }
    const QString trash = FileSystem::BuildPath(top, u".Trash-"_s + uid);
    const Descriptor info(OpenTrash(trash, true));
    return info.Get() >= 0 && Store(item, trash, info.Get(), below, trashedPath);
}

// The record comes first and is on disk before the item moves, so a trashed
// item always has one; a record whose item could not follow is removed.
bool Trash::Store(const Item& item, const QString& trash, int infoFolder, const QString& original,
                  QString* trashedPath) const {
    const QDateTime when = mClock();
    if (!when.isValid()) return false;
    const QByteArray text =
        "[Trash Info]\nPath=" + FileSystem::Encode(original).toPercentEncoding("/") +
        "\nDeletionDate=" + when.toLocalTime().toString(u"yyyy-MM-dd'T'HH:mm:ss"_s).toLatin1() +
        '\n';
    const QString files = FileSystem::BuildPath(trash, u"files"_s);

    for (int attempt = 1; attempt <= kMaxEntryAttempts; ++attempt) {
        const QString entry = EntryName(item.name, attempt);
        const QString target = FileSystem::BuildPath(files, entry);
        // An entry without a record is still taken; looking first spares a
        // record written to disk only to be removed.
        struct stat st;
        if (::lstat(FileSystem::Encode(target).constData(), &st) == 0) continue;
        if (errno != ENOENT) return false;

        const QByteArray record = FileSystem::Encode(entry) + kInfoSuffix;
        const int written = WriteRecord(infoFolder, record, text);
        if (written == EEXIST) continue;
        if (written != 0) return false;
        const MoveResult moved = mFs.MoveItem(item.path, target);
        if (moved == MoveStatus::Ok) {
            if (trashedPath) *trashedPath = target;
            return true;
        }
        ::unlinkat(infoFolder, record.constData(), 0);
        if (moved != MoveStatus::Exists) return false;
    }
    return false;
}

}  // namespace sorvane
