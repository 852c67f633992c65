#include "support/TempTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <algorithm>
#include <tuple>

#include "platform/FileSystem.h"

namespace sorvane::test {

TempTree::TempTree() = default;

// Empties a folder, depth first; the folders are made writable and
// searchable first so that their entries can go.
static void RemoveContents(int parent, const char* name) {
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    ::fchmod(fd, 0700);
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    std::vector<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray entryName(entry->d_name);
        if (entryName != "." && entryName != "..") names.push_back(entryName);
    }
    for (const QByteArray& entryName : names) {
        struct stat st;
        if (::fstatat(fd, entryName.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            RemoveContents(fd, entryName.constData());
            ::unlinkat(fd, entryName.constData(), AT_REMOVEDIR);
        } else {
            ::unlinkat(fd, entryName.constData(), 0);
        }
    }
    ::closedir(dir);
}

TempTree::~TempTree() {
    if (mDir.isValid()) RemoveContents(AT_FDCWD, mDir.path().toUtf8().constData());
}

QString TempTree::Path(const QString& relative) const {
    return Root() + u'/' + relative;
}

QByteArray TempTree::NativePath(const QByteArray& relative) const {
    return mDir.path().toUtf8() + '/' + relative;
}

bool TempTree::MakeParents(const QByteArray& native) const {
    const qsizetype slash = native.lastIndexOf('/');
    if (slash <= 0) return true;
    const QByteArray parent = native.left(slash);
    struct stat st;
    if (::lstat(parent.constData(), &st) == 0) return S_ISDIR(st.st_mode);
    return MakeParents(parent) && ::mkdir(parent.constData(), 0777) == 0;
}

bool TempTree::MakeRawFile(const QByteArray& relative, const QByteArray& content) {
    const QByteArray native = NativePath(relative);
    if (!MakeParents(native)) return false;
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return false;
    const bool ok = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    return ::close(fd) == 0 && ok;
}

bool TempTree::MakeFile(const QString& relative, const QByteArray& content) {
    return MakeRawFile(FileSystem::Encode(relative), content);
}

bool TempTree::MakeFolder(const QString& relative) {
    const QByteArray native = NativePath(FileSystem::Encode(relative));
    return MakeParents(native) && ::mkdir(native.constData(), 0777) == 0;
}

bool TempTree::MakeSymlink(const QString& relative, const QString& target) {
    const QByteArray native = NativePath(FileSystem::Encode(relative));
    return MakeParents(native) &&
           ::symlink(FileSystem::Encode(target).constData(), native.constData()) == 0;
}

bool TempTree::MakeHardLink(const QString& relative, const QString& existing) {
    const QByteArray native = NativePath(FileSystem::Encode(relative));
    return MakeParents(native) &&
           ::link(NativePath(FileSystem::Encode(existing)).constData(), native.constData()) == 0;
}

bool TempTree::MakeFifo(const QString& relative) {
    const QByteArray native = NativePath(FileSystem::Encode(relative));
    return MakeParents(native) && ::mkfifo(native.constData(), 0666) == 0;
}

static QByteArray ReadAll(const QByteArray& native);

QByteArray TempTree::Read(const QString& relative) const {
    return ReadAll(NativePath(FileSystem::Encode(relative)));
}

static QByteArray ReadAll(const QByteArray& native) {
    QByteArray bytes;
    const int fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW);
    if (fd < 0) return bytes;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
    ::close(fd);
    return bytes;
}

static void TakeFolder(const QByteArray& native, const QByteArray& relative, Inventory* out) {
    DIR* dir = ::opendir(native.constData());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..") continue;
        const QByteArray path = native + '/' + name;
        const QByteArray key = relative.isEmpty() ? name : relative + '/' + name;
        struct stat st;
        if (::lstat(path.constData(), &st) != 0) continue;
        TreeItem item;
        item.inode = st.st_ino;
        if (S_ISREG(st.st_mode)) {
            item.kind = 'f';
            item.size = st.st_size;
            item.content = QCryptographicHash::hash(ReadAll(path), QCryptographicHash::Sha256);
        } else if (S_ISLNK(st.st_mode)) {
            item.kind = 'l';
            QByteArray target(4096, '\0');
            const ssize_t length =
                ::readlink(path.constData(), target.data(), size_t(target.size()));
            item.content = target.left(length < 0 ? 0 : length);
        } else if (S_ISDIR(st.st_mode)) {
            item.kind = 'd';
        } else {
            item.kind = 's';
        }
        (*out)[key] = item;
        if (item.kind == 'd') TakeFolder(path, key, out);
    }
    ::closedir(dir);
}

Inventory TempTree::Take() const {
    Inventory inventory;
    TakeFolder(mDir.path().toUtf8(), {}, &inventory);
    return inventory;
}

std::vector<TreeItem> TempTree::Contents(const Inventory& inventory) {
    std::vector<TreeItem> items;
    for (const auto& [path, item] : inventory) items.push_back(item);
    std::sort(items.begin(), items.end(), [](const TreeItem& a, const TreeItem& b) {
        return std::tie(a.kind, a.inode, a.size, a.content) <
               std::tie(b.kind, b.inode, b.size, b.content);
    });
    return items;
}

}  // namespace sorvane::test
