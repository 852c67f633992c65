#include "platform/MountWatch.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace sorvane {

MountWatch::MountWatch() : mTable(::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC)) {}

MountWatch::~MountWatch() {
    if (mTable >= 0) ::close(mTable);
}

// The table reports a change once: the poll that sees it takes it.
bool MountWatch::Changed() {
    if (mTable < 0) return true;
    pollfd table{mTable, POLLPRI, 0};
    if (::poll(&table, 1, 0) < 0) return true;
    return (table.revents & (POLLPRI | POLLERR)) != 0;
}

}  // namespace sorvane
