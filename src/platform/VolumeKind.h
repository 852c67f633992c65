#pragma once

#include <sys/types.h>

namespace sorvane {

// What the kind of a volume tells the renames and the name checks.
struct VolumeKind {
    // Whether the volume counts a name's length in UTF-16 units, as exFAT,
    // FAT (long names) and NTFS do, rather than in bytes. Also on a volume
    // mounted through FUSE, whose kind the system often cannot tell: that
    // count is never more than the bytes, so a limit measured so refuses
    // nothing the volume might hold.
    bool namesInUtf16 = false;
    // Whether other machines may change the volume behind this system's
    // back (network file systems, and FUSE volumes not backed by a device
    // of this machine): there a look this system made may be out of date.
    bool shared = false;
    // Whether the volume's driver loses a folder's contents when it renames
    // the folder (fusefat does, whatever the new name): folders there are
    // never renamed.
    bool foldersLoseContents = false;
    // Whether the volume's listing may leave out names it still finds by
    // name: ntfs-3g leaves out the volume's own files ("$MFT", "$UpCase")
    // in its root, and with its hide options hidden and dot files anywhere.
    bool hidesNames = false;
};

// The kind of the volume that the open file or folder fd is on, from its
// file system's type, and for FUSE from the mount's type in
// /proc/self/mountinfo. A volume that cannot be told is taken as local
// with names counted in bytes.
VolumeKind KindOfVolume(int fd);
// The same for the volume of an existing path, following links.
VolumeKind KindOfVolume(const char* path);

}  // namespace sorvane
