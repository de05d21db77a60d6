// SPDX-License-Identifier: GPL-3.0-or-later
// A file system with one file, stuck.dat, whose reads it never answers: a stalled network mount in small.
// Reads bypass the page cache, so a reader waits in the kernel on the request itself, where not even SIGKILL
// ends it. usage: stuckfs MOUNTPOINT (it stays in the foreground; ending it ends the waits).
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kFile = "/stuck.dat";

int attributes(const char* path, struct stat* st, fuse_file_info*) {
    *st = {};
    if (std::strcmp(path, "/") == 0) {
        st->st_mode = S_IFDIR | 0755;
        st->st_nlink = 2;
        return 0;
    }
    if (std::strcmp(path, kFile) != 0) return -ENOENT;
    st->st_mode = S_IFREG | 0644;
    st->st_nlink = 1;
    st->st_size = 18;
    return 0;
}

int list(const char* path, void* buf, fuse_fill_dir_t fill, off_t, fuse_file_info*, fuse_readdir_flags) {
    if (std::strcmp(path, "/") != 0) return -ENOENT;
    fill(buf, ".", nullptr, 0, fuse_fill_dir_flags{});
    fill(buf, "..", nullptr, 0, fuse_fill_dir_flags{});
    fill(buf, kFile + 1, nullptr, 0, fuse_fill_dir_flags{});
    return 0;
}

int open(const char* path, fuse_file_info* info) {
    if (std::strcmp(path, kFile) != 0) return -ENOENT;
    info->direct_io = 1;
    return 0;
}

int read(const char*, char*, std::size_t, off_t, fuse_file_info*) {
    for (;;)
        pause();
}

} // namespace

int main(int argc, char* argv[]) {
    fuse_operations operations{};
    operations.getattr = attributes;
    operations.readdir = list;
    operations.open = open;
    operations.read = read;
    char foreground[] = "-f";
    char* args[] = {argv[0], foreground, argc > 1 ? argv[1] : nullptr, nullptr};
    return fuse_main(argc > 1 ? 3 : 2, args, &operations, nullptr);
}
