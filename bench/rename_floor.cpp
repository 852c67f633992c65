// The floor of a rename run: the least a program must do to rename every
// "*.txt" under a folder to "*.dat" without replacing anything. It reads
// each folder with opendir/readdir, descends into real subfolders (never
// through a symbolic link) and renames with renameat2(RENAME_NOREPLACE).
// bench/rename_bench.sh times sorvane-cli against it.
//
// With --plan-first it reads every folder before it renames anything, as a
// program must that checks and records the whole plan first; the folders
// are renamed in the reverse order of their reading. What this costs over
// the plain floor is the price of planning alone: the entries read long
// before they are renamed have left the processor's caches.
//
// usage: rename_floor [--plan-first] FOLDER
// Prints the number renamed and the number that failed; exit 1 on failures.

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

long renamed = 0;
long failed = 0;
bool planFirst = false;

// With --plan-first: each folder, still open, and its matches.
struct FolderPlan {
    int dir;
    std::vector<std::string> matches;
};
std::vector<FolderPlan> plan;

int RenameNoReplace(int dir, const char* from, const char* to) {
    return static_cast<int>(syscall(SYS_renameat2, dir, from, dir, to, RENAME_NOREPLACE));
}

bool EndsWithTxt(const char* name, size_t length) {
    return length > 4 && memcmp(name + length - 4, ".txt", 4) == 0;
}

void RenameMatches(int dir, const std::vector<std::string>& matches) {
    std::string target;
    for (const std::string& name : matches) {
        target.assign(name, 0, name.size() - 4);
        target += ".dat";
        if (RenameNoReplace(dir, name.c_str(), target.c_str()) == 0)
            ++renamed;
        else
            ++failed;
    }
}

// Renames the matches of one folder (dir is an open descriptor of it, and
// is closed here), or keeps them with the folder for later, then goes into
// its subfolders.
void Walk(int dir) {
    DIR* stream = fdopendir(dir);
    if (!stream) {
        close(dir);
        ++failed;
        return;
    }
    // Names are collected before anything is renamed, so that readdir never
    // sees a folder that changes under it.
    std::vector<std::string> matches;
    std::vector<std::string> folders;
    while (const dirent* e = readdir(stream)) {
        const char* name = e->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
        }
        if (type == DT_DIR)
            folders.emplace_back(name);
        else if (EndsWithTxt(name, strlen(name)))
            matches.emplace_back(name);
    }
    if (planFirst)
        plan.push_back({dup(dir), std::move(matches)});
    else
        RenameMatches(dir, matches);
    for (const std::string& name : folders) {
        const int sub = openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) {
            ++failed;
            continue;
        }
        Walk(sub);
    }
    closedir(stream);
}

}  // namespace

int main(int argc, char** argv) {
    planFirst = argc == 3 && strcmp(argv[1], "--plan-first") == 0;
    if (argc != 2 + planFirst) {
        fprintf(stderr, "usage: rename_floor [--plan-first] FOLDER\n");
        return 2;
    }
    const char* folder = argv[argc - 1];
    // Every folder stays open until its renames: as many descriptors as
    // the system allows.
    rlimit files;
    if (planFirst && getrlimit(RLIMIT_NOFILE, &files) == 0) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    const int root = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0) {
        perror(folder);
        return 1;
    }
    Walk(root);
    for (auto folder = plan.rbegin(); folder != plan.rend(); ++folder) {
        RenameMatches(folder->dir, folder->matches);
        close(folder->dir);
    }
    printf("%ld renamed, %ld failed\n", renamed, failed);
    return failed == 0 ? 0 : 1;
}
