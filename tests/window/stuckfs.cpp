// SPDX-License-Identifier: GPL-3.0-or-later
// usage: stuckfs MOUNTPOINT. A file system in the foreground with one file, stuck.dat, whose reads it never
// answers. They bypass the page cache, so a reader waits in the kernel on the request, where not even SIGKILL
// ends the wait; ending stuckfs does.
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <cerrno>
#include <cstring>

#include <unistd.h>

int main(int argc, char* argv[]) {
    fuse_operations operations{};
    operations.getattr = [](const char* path, struct stat* st, fuse_file_info*) {
        *st = {};
        const bool root = std::strcmp(path, "/") == 0;
        if (!root && std::strcmp(path, "/stuck.dat") != 0) return -ENOENT;
        st->st_mode = root ? S_IFDIR | 0755 : S_IFREG | 0644;
        st->st_size = 18;
        return 0;
    };
    operations.open = [](const char*, fuse_file_info* info) {
        info->direct_io = 1;
        return 0;
    };
    operations.read = [](const char*, char*, std::size_t, off_t, fuse_file_info*) -> int {
        for (;;)
            pause();
    };
    char foreground[] = "-f";
    char* args[] = {argv[0], foreground, argc > 1 ? argv[1] : nullptr, nullptr};
    return fuse_main(argc > 1 ? 3 : 2, args, &operations, nullptr);
}
