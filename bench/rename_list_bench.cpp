// Speed of building the target list (MakeRenameList) and of renaming
// (RenameAll) with the default settings (sorting on, collision checks on),
// on 100,000 files in one folder and on 1,000 folders of 100 files.
//
// The floor is a plain loop over the same folders that reads the entries and
// stats each new name: what the collision checks cost where each name must be
// asked for (a folder that ignores letter case, names beyond ASCII). The goal
// is list building within 1.5 times the floor; where the folder's listing
// answers for the new names, as here, the list stays well below it. Each figure is the best of
// several runs; floor and list runs alternate on the same warm tree, and
// every rename run gets a fresh copy of the tree.
//
// Usage: rename_list_bench [work folder, default /dev/shm] [runs, default 5]

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "matching/clsMatching.h"
#include "platform/FileSystem.h"
#include "ports/MessageBoxPort.h"
#include "ports/ProgressWindowPort.h"
#include "ports/clsCancel.h"
#include "rename/mdlRename.h"
#include "selection/clsFilter.h"

using namespace sorvane;
using Clock = std::chrono::steady_clock;

namespace {

class SilentWindow : public ProgressWindowPort {
public:
    void SetCaption(const QString&) override {}
    void SetTitle(const QString&) override {}
    void SetText(const QString&) override {}
    void Show() override {}
    void Hide() override {}
    void ProcessEvents() override {}
};

class SilentMessages : public MessageBoxPort {
public:
    MsgAnswer Show(const MessageRequest& request) override { return DefaultAnswer(request); }
};

struct Layout {
    const char* label;
    int folders;  // 0: the files lie in the start folder itself
    int filesPerFolder;
};

constexpr const char* kOldPrefix = "IMG_";
constexpr const char* kNewPrefix = "photo_";

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

void Die(const char* what, const std::string& path) {
    std::perror((std::string(what) + " " + path).c_str());
    std::exit(1);
}

void MakeFiles(const std::string& folder, int count) {
    char name[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "/%s%06d.jpg", kOldPrefix, i);
        const std::string path = folder + name;
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) Die("create", path);
        ::close(fd);
    }
}

void MakeTree(const std::string& root, const Layout& layout) {
    if (::mkdir(root.c_str(), 0755) != 0) Die("mkdir", root);
    if (layout.folders == 0) {
        MakeFiles(root, layout.filesPerFolder);
        return;
    }
    char name[32];
    for (int f = 0; f < layout.folders; ++f) {
        std::snprintf(name, sizeof name, "/folder%04d", f);
        const std::string folder = root + name;
        if (::mkdir(folder.c_str(), 0755) != 0) Die("mkdir", folder);
        MakeFiles(folder, layout.filesPerFolder);
    }
}

void RemoveTree(const std::string& path) {
    DIR* dir = ::opendir(path.c_str());
    if (!dir) Die("opendir", path);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    ::closedir(dir);
    for (const std::string& name : names) {
        const std::string child = path + '/' + name;
        struct stat st;
        if (::lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            RemoveTree(child);
        else
            ::unlink(child.c_str());
    }
    ::rmdir(path.c_str());
}

// The floor: every entry of every folder read once, and for each file that
// the pattern takes, its new name stat'ed. Returns the number of new names.
long FloorFolder(const std::string& folder, std::vector<std::string>* subfolders) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) Die("opendir", folder);
    const size_t prefixLength = std::strlen(kOldPrefix);
    std::string full = folder + '/' + kNewPrefix;
    const size_t base = full.size();
    long count = 0;
    struct stat st;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_type == DT_DIR) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                subfolders->push_back(folder + '/' + entry->d_name);
            continue;
        }
        if (std::strncmp(entry->d_name, kOldPrefix, prefixLength) != 0) continue;
        full.resize(base);
        full += entry->d_name + prefixLength;
        ::lstat(full.c_str(), &st);  // ENOENT here: no collisions in this tree
        ++count;
    }
    ::closedir(dir);
    return count;
}

long Floor(const std::string& root) {
    std::vector<std::string> pending{root};
    long count = 0;
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        count += FloorFolder(folder, &pending);
    }
    return count;
}

// One program state for list building and renaming.
struct Program {
    FileSystem fs;
    clsMatching matching;
    clsFilter filter{fs};
    SilentWindow window;
    SilentMessages messages;
    clsCancel progress{window, messages};
    mdlRename list{fs, matching, filter, progress};
    RenameListSettings settings;

    explicit Program(bool recursive) {
        matching.setCmpMode(CompareMode::Exact);
        matching.setFileNameMode(NameMode::Whole);
        matching.setMatchPattern(QString::fromLatin1(kOldPrefix) + QStringLiteral("*.jpg"));
        matching.setReplacePattern(QString::fromLatin1(kNewPrefix) + QStringLiteral("*.jpg"));
        settings.folderSort = true;
        settings.recursive = recursive;
        list.InitRename(1'000'000);
        progress.SetVisible(true);
    }

    bool Build(const std::string& root) {
        return list.MakeRenameList(QString::fromStdString(root), settings);
    }
};

struct Figures {
    long targets = 0;
    double floor = 1e300;
    double list = 1e300;
    double rename = 1e300;
};

Figures Measure(const std::string& work, const Layout& layout, int runs) {
    Figures figures;
    const std::string root = work + "/sorvane-bench-" + std::to_string(::getpid());
    Program program(layout.folders > 0);

    MakeTree(root, layout);
    for (int r = 0; r < runs; ++r) {
        auto start = Clock::now();
        const long floorCount = Floor(root);
        figures.floor = std::min(figures.floor, Seconds(start));

        start = Clock::now();
        if (!program.Build(root)) {
            std::fprintf(stderr, "the list was not completed\n");
            std::exit(1);
        }
        figures.list = std::min(figures.list, Seconds(start));
        figures.targets = program.list.GetTargetCount();
        if (figures.targets != floorCount) {
            std::fprintf(stderr, "%ld targets, but the floor saw %ld new names\n", figures.targets,
                         floorCount);
            std::exit(1);
        }
    }
    RemoveTree(root);

    // Renaming changes the tree: a fresh copy for every run.
    for (int r = 0; r < runs; ++r) {
        MakeTree(root, layout);
        program.Build(root);
        const auto start = Clock::now();
        const qint32 renamed = program.list.RenameAll(false, DeleteMode::Forced, {});
        figures.rename = std::min(figures.rename, Seconds(start));
        if (renamed != figures.targets) {
            std::fprintf(stderr, "%d of %ld renamed\n", renamed, figures.targets);
            std::exit(1);
        }
        RemoveTree(root);
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string work = argc > 1 ? argv[1] : "/dev/shm";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const Layout layouts[] = {
        {"1 folder x 100,000 files", 0, 100'000},
        {"1,000 folders x 100 files", 1'000, 100},
    };
    std::printf("work folder %s, best of %d runs, sorting on\n\n", work.c_str(), runs);
    std::printf("%-27s %8s %10s %10s %10s %10s %6s %10s %10s\n", "", "targets", "floor ms",
                "floor us", "list ms", "list us", "ratio", "rename ms", "rename us");
    for (const Layout& layout : layouts) {
        const Figures f = Measure(work, layout, runs);
        const double perTarget = 1e6 / double(f.targets);
        std::printf("%-27s %8ld %10.1f %10.3f %10.1f %10.3f %6.2f %10.1f %10.3f\n", layout.label,
                    f.targets, f.floor * 1e3, f.floor * perTarget, f.list * 1e3, f.list * perTarget,
                    f.list / f.floor, f.rename * 1e3, f.rename * perTarget);
        std::fflush(stdout);
    }
    std::printf(
        "\nus: microseconds per target. floor: read every entry and stat each new "
        "name; ratio = list / floor (goal: at most 1.5)\n");
    return 0;
}
