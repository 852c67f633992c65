// The floor of a rename run on a volume that refuses RENAME_NOREPLACE (a
// card or a stick mounted through FUSE): one folder read with
// opendir/readdir, then one plain rename(2) per file, nothing else.
// bench/fuse_bench.sh times sorvane-cli against it.
//
// usage: plain_floor FOLDER case|prefix [sorted]
//   case    NAME.JPG -> NAME.jpg
//   prefix  IMG_NAME -> P_NAME
//   sorted  the files in the order of their names, as a run takes these,
//           instead of the order read (exFAT lists the newest first); some
//           volumes' lookups cost more in one order than in the other
// Prints the number renamed; exit 1 on a failure.

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 4 && strcmp(argv[3], "sorted") == 0)) {
        fprintf(stderr, "usage: plain_floor FOLDER case|prefix [sorted]\n");
        return 2;
    }
    const bool caseOnly = strcmp(argv[2], "case") == 0;
    DIR* dir = opendir(argv[1]);
    if (!dir) {
        perror(argv[1]);
        return 1;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (caseOnly ? name.size() > 4 && name.compare(name.size() - 4, 4, ".JPG") == 0
                     : name.compare(0, 4, "IMG_") == 0)
            names.push_back(name);
    }
    if (argc == 4) std::sort(names.begin(), names.end());
    const int fd = dirfd(dir);
    long renamed = 0;
    std::string target;
    for (const std::string& name : names) {
        target = caseOnly ? name.substr(0, name.size() - 4) + ".jpg" : "P_" + name.substr(4);
        if (renameat(fd, name.c_str(), fd, target.c_str()) != 0) {
            perror(name.c_str());
            return 1;
        }
        ++renamed;
    }
    closedir(dir);
    printf("%ld\n", renamed);
    return 0;
}
