#include "platform/NativePath.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/NameBytes.h"

namespace sorvane::native_path {

namespace {

// The UTF-8 bytes of one code point.
char* PutCodePoint(char* out, char32_t c) {
    const auto put = [&out](char32_t byte) { *out++ = static_cast<char>(byte); };
    if (c < 0x80) {
        put(c);
    } else if (c < 0x800) {
        put(0xC0 | (c >> 6));
        put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    } else {
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    }
    return out;
}

// The path without trailing separators; the root stays "/".
QByteArray WithoutTrailingSlash(const QByteArray& path, bool* hadSlash = nullptr) {
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == '/') --end;
    if (hadSlash) *hadSlash = end < path.size();
    return path.left(end);
}

}  // namespace

// Encoded by hand, in one pass that also refuses what cannot be handed
// over: a byte escape becomes its byte again, and any other surrogate
// without its partner names no bytes at all. A rename run converts two names per
// rename, so the bytes go into the array's own room: a caller that
// converts name after name into one array allocates once.
bool ToNative(QStringView path, QByteArray* bytes) {
    bytes->resize(path.size() * 3);
    char* const begin = bytes->data();
    char* out = begin + name_bytes::PutPlain(begin, path);
    const qsizetype plain = out - begin;
    const char16_t* at = path.utf16() + plain;
    const char16_t* const end = path.utf16() + path.size();
    while (at < end) {
        if (*at - 1u < 0x7Fu) {  // ASCII but NUL, the most names are nothing else
            *out++ = static_cast<char>(*at++);
            continue;
        }
        char32_t c = *at++;
        if (name_bytes::IsSurrogate(char16_t(c))) {
            if (name_bytes::IsHighSurrogate(char16_t(c)) && at < end &&
                name_bytes::IsLowSurrogate(*at)) {
                c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(*at++) - 0xDC00);
            } else if (c >= name_bytes::kFirstEscape && c <= name_bytes::kLastEscape) {
                *out++ = static_cast<char>(name_bytes::ByteOf(char16_t(c)));
                continue;
            } else {
                bytes->resize(0);
                return false;
            }
        } else if (c == 0) {
            bytes->resize(0);
            return false;
        }
        out = PutCodePoint(out, c);
    }
    bytes->resize(out - begin);
    return true;
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool IsHiddenName(const char* name) {
    return name[0] == '.' && !IsDotOrDotDot(name);
}

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

int AttributesOf(mode_t mode, bool hidden) {
    int attributes = hidden ? kAttrHidden : 0;
    if (S_ISLNK(mode)) return attributes | kAttrArchive;
    if (!(mode & S_IWUSR)) attributes |= kAttrReadOnly;
    if (S_ISDIR(mode)) return attributes | kAttrFolder;
    if (S_ISREG(mode)) return attributes | kAttrArchive;
    return attributes | kAttrSystem;
}

bool WriteAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= n;
    }
    return true;
}

MoveResult MoveResultOf(int code) {
    switch (code) {
        case kRenameOk:
            return {MoveStatus::Ok, 0};
        case kRenameNotFound:
            return {MoveStatus::NotFound, 0};
        case kRenameTargetFolderMissing:
            return {MoveStatus::TargetFolderMissing, 0};
        case kRenameExists:
            return {MoveStatus::Exists, 0};
        default:
            return {MoveStatus::Failed, code};
    }
}

}  // namespace sorvane::native_path

namespace sorvane {

bool MoveResult::OtherFileSystem() const {
    return status == MoveStatus::Failed && error == EXDEV;
}

}  // namespace sorvane
