#pragma once

// Internal to the file-system service: the helpers on the bytes of a path
// that its source files share. Callers use FileSystem.h.

#include <sys/stat.h>

#include <QByteArray>
#include <QStringView>

#include "platform/FileSystem.h"

namespace sorvane::native_path {

// The codes the rename routes pass among themselves: these, or an errno
// value that is none of them. MoveResultOf turns one into what callers see.
constexpr int kRenameOk = 0;
constexpr int kRenameNotFound = 2;
constexpr int kRenameTargetFolderMissing = 3;
constexpr int kRenameExists = 183;
MoveResult MoveResultOf(int code);

// Writes all of data, through short writes and interruptions.
bool WriteAll(int fd, const char* data, qsizetype size);

// The bytes handed to the system: UTF-8, and each byte escape its own byte
// (NameBytes.h). A NUL would cut the path short, and a lone surrogate that
// is no escape names no bytes; both are refused rather than guessed at.
bool ToNative(QStringView path, QByteArray* bytes);

bool IsDotOrDotDot(const char* name);
bool IsHiddenName(const char* name);

// lstat that never follows a final symbolic link. A trailing "/" would make
// the kernel follow it, so it is dropped, and then the item must be a
// folder, as the "/" demands.
bool Lstat(const QByteArray& path, struct stat* st);

// The folder part and the last component of a path, by bytes. The folder of
// a bare name is "." and of "/name" is "/".
void SplitNative(const QByteArray& path, QByteArray* folder, QByteArray* name);

// Attribute bits of an item. A symbolic link is a file of its own, whatever
// it points to: never a folder, never system; it carries archive like every
// other file that can be renamed, and hidden by its name. Its own permission
// bits mean nothing on Linux, so it is never read-only.
int AttributesOf(mode_t mode, bool hidden);

}  // namespace sorvane::native_path
