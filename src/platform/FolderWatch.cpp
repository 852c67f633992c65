#include "platform/FolderWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/ForEachEntry.h"
#include "platform/NameFolding.h"

namespace sorvane {

namespace {

constexpr uint32_t kEnters = IN_CREATE | IN_MOVED_TO;
constexpr uint32_t kFolderGoes = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

char FoldedByte(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// The name with A-Z folded; false for a name beyond plain ASCII.
bool Folded(QByteArrayView name, QByteArray* folded) {
    folded->resize(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (static_cast<unsigned char>(c) >= 0x80) return false;
        (*folded)[i] = FoldedByte(c);
    }
    return true;
}

// Whether two names are alike with A-Z folded; a byte beyond ASCII is like
// itself only.
bool FoldAlike(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (FoldedByte(a[i]) != FoldedByte(b[i])) return false;
    return true;
}

}  // namespace

FolderWatch::~FolderWatch() {
    Stop();
    if (mNotify >= 0) ::close(mNotify);
}

bool FolderWatch::Start(int fd) {
    Stop();
    if (mNotify < 0) mNotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (mNotify < 0) return false;
    ReadReports();  // of a folder watched before, whose watch is gone
    // Through the descriptor: the folder it holds, whatever its path names
    // by now.
    const QByteArray folder = "/proc/self/fd/" + QByteArray::number(fd);
    mWatch = ::inotify_add_watch(mNotify, folder.constData(), kEnters | kFolderGoes | IN_ONLYDIR);
    if (mWatch < 0) return false;
    // Read after the watch began: a name that enters meanwhile is in the
    // listing, in the reports or in both.
    bool plain = true;
    const int err = native_path::ForEachEntry(folder, [&](DIR*, const dirent* entry) {
        plain = Add(entry->d_name, entry->d_type != DT_REG && entry->d_type != DT_LNK);
        return plain;
    });
    if (err == 0 && plain) return true;
    Stop();
    return false;
}

void FolderWatch::Stop() {
    if (mWatch >= 0) ::inotify_rm_watch(mNotify, mWatch);
    mWatch = -1;
    mNames.clear();
}

// False when the names can no longer be known. Reports of an earlier watch
// of this instance are passed over.
bool FolderWatch::ReadReports() {
    alignas(inotify_event) char buffer[16 * 1024];
    constexpr size_t kLargest = sizeof(inotify_event) + NAME_MAX + 1;
    for (;;) {
        const ssize_t got = ::read(mNotify, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno == EAGAIN;
        }
        for (const char* at = buffer; at < buffer + got;) {
            const auto* report = reinterpret_cast<const inotify_event*>(at);
            at += sizeof(inotify_event) + report->len;
            if (report->mask & IN_Q_OVERFLOW) return false;
            if (report->wd != mWatch) continue;
            if (report->mask & kFolderGoes) return false;
            if ((report->mask & kEnters) &&
                !Add(QByteArrayView(report->name, qstrlen(report->name)), report->mask & IN_ISDIR))
                return false;
        }
        // A read that left room for the largest report emptied the queue:
        // one system call in the usual case.
        if (size_t(got) <= sizeof buffer - kLargest) return true;
    }
}

bool FolderWatch::Add(QByteArrayView name, bool folder) {
    QByteArray folded;
    if (!Folded(name, &folded)) return false;
    // A folder, or an entry of unknown kind, counts twice: never the one
    // entry that a file's change of case may take in place.
    mNames[folded] += folder ? 2 : 1;
    return true;
}

// Folded into one buffer kept for it: a run asks for every target.
int FolderWatch::Seen(QByteArrayView name) {
    if (!Watching() || MayNameAnAlias(name) || !Folded(name, &mFolded)) return -1;
    return mNames.value(mFolded);
}

FolderWatch::At FolderWatch::Look(QByteArrayView to, QByteArrayView from) {
    if (!Watching()) return At::Unknown;
    if (!ReadReports()) {
        Stop();
        return At::Unknown;
    }
    const int seen = Seen(to);
    if (seen == 0) return At::Free;
    // One entry under the name, and the item folds alike: if the item is
    // there, that entry is the item; if not, its rename fails.
    return seen == 1 && FoldAlike(to, from) ? At::TheItem : At::Unknown;
}

bool FolderWatch::Free(QByteArrayView name) {
    return Seen(name) == 0;
}

}  // namespace sorvane
