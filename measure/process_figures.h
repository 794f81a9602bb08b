// What the process holds right now, read from /proc: resident memory, open descriptors and
// memory mappings. For the reopening test and the soak run, which watch them stay flat.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace process_figures {

inline long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

inline int OpenDescriptors() {
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return -1;
    int count = 0;
    while (const dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.') ++count;
    closedir(dir);
    return count - 1;  // the directory stream's own descriptor
}

inline int Mappings() {
    std::ifstream maps("/proc/self/maps");
    int count = 0;
    for (std::string line; std::getline(maps, line);) ++count;
    return count;
}

}  // namespace process_figures
