// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "services.h"

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace zirk {

// Maze files read by processes of their own. A read that the file system never answers (a stalled network
// mount, a FUSE file system that hangs) leaves a process waiting in the kernel, where nothing can end it, not
// even SIGKILL: a thread of the game left there would keep the game from ending. A process is simply
// forgotten: the game ends at once and the reader goes with the file system, whenever that answers.
//
// The reader is a fork of the game that makes only system calls (no allocation, no lock, no library state):
// it opens the file as FileSource does, sends what the open found and then the bytes over a pipe, and ends.
// The game reads that pipe and can always stop waiting on it.
class ReaderProcesses : public MazeFiles {
public:
    // Readers given up on that may still be waiting in the kernel. Past this many, no more are started.
    static constexpr std::size_t kMaxLeftBehind = 3;

    ~ReaderProcesses() override = default;
    std::shared_ptr<MazeFile> open(const std::string& path) override;
    void giveUp(MazeFile& file) override;
    // Collects the readers that have ended, without waiting for the others, so that none stays a zombie.
    void collect();

private:
    // Readers started and not yet known to have ended. Only the window's thread looks at or changes this, so
    // a reader's id is never reused while it is here.
    std::vector<pid_t> readers_;
};

} // namespace zirk
