#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/NameBytes.h"
#include "platform/NativePath.h"

// The service's sources, one job each: PathText (path parts by text),
// ItemQueries (existence, attributes, identity), FolderReading (listings),
// NoReplaceRename and MoveAcrossFileSystems (the moves); NativePath holds
// the helpers on a path's bytes that they share. Here: the conversions
// between text and bytes, the working directory, and the plain changes.

namespace sorvane {

using namespace native_path;

// ---------------------------------------------------------------------------
// Conversions

QByteArray FileSystem::Encode(const QString& path) {
    QByteArray bytes;
    native_path::ToNative(path, &bytes);
    return bytes;
}

bool FileSystem::EncodeExactly(QStringView text, QByteArray* bytes) {
    return native_path::ToNative(text, bytes);
}

QString FileSystem::Decode(QByteArrayView bytes) {
    QString text;
    name_bytes::AppendDecoded(bytes, text);
    return text;
}

bool FileSystem::AppendDecoded(QByteArrayView bytes, QString& text) {
    return name_bytes::AppendDecoded(bytes, text);
}

// Asked several times for every target of a run: printable ASCII but "/"
// is passed many units at a time, and the rest one comparison for most
// units ("/" and NUL lie below every letter and digit).
bool FileSystem::IsSingleName(QStringView name) {
    const qsizetype size = name.size();
    if (size == 0) return false;
    const char16_t* at = name.utf16();
    const char16_t* const end = at + size;
    if (at[0] == u'.' && (size == 1 || (size == 2 && at[1] == u'.'))) return false;
    for (at += name_bytes::PlainPrefix(name, u'/'); at < end; ++at)
        if (*at <= u'/' && (*at == u'/' || *at == 0)) return false;
    return true;
}

// ---------------------------------------------------------------------------
// Working directory

QString FileSystem::CurrentDirectory() const {
    char* current = ::getcwd(nullptr, 0);
    if (!current) return {};
    QString text = Decode(QByteArrayView(current));
    std::free(current);
    return text;
}

bool FileSystem::SetCurrentDirectory(const QString& path) const {
    QByteArray native;
    return ToNative(path, &native) && !native.isEmpty() && ::chdir(native.constData()) == 0;
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

}  // namespace sorvane
