// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "grid.h"
#include "view.h"

#include <cstddef>
#include <optional>
#include <string>

namespace zirk {

// A sequential byte stream. read() returns the number of bytes placed in buf, 0 at the end, -1 on an error.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual long long read(char* buf, std::size_t size) = 0;
};

// Why a maze file could not be opened.
enum class OpenFailure { None, Missing, AccessRefused, Folder, Fifo, Device, Socket, LinkLoop, Other };

// A maze file as it is opened: it says why it could not be opened, or gives its bytes.
class MazeFile : public ByteSource {
public:
    virtual bool isOpen() const = 0;
    virtual OpenFailure failure() const = 0;
};

// A maze file on disk. Anything that is not a regular file (folder, FIFO, device, socket) is treated like a
// file that cannot be opened, so that choosing one can never block the game; the open itself never waits.
class FileSource : public MazeFile {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const override { return fd_ >= 0; }
    OpenFailure failure() const override { return failure_; }
    long long read(char* buf, std::size_t size) override;
    void close();

private:
    int fd_ = -1;
    OpenFailure failure_ = OpenFailure::None;
};

struct LoadResult {
    long long rows = 0;      // lines started, including empty ones
    bool overflowed = false; // a line longer than 100 cells or a non-empty row past 100 ended the load
    bool readError = false;  // the source failed before its end
    long long rowsKept = 0;  // whole lines stored before the load ended
    long long columns = 0;   // cells in the longest line stored
    // The first line in which a line feed without a carriage return before it was read as a wall cell; 0 if
    // none.
    long long firstLoneLineFeed = 0;
    OpenFailure openFailure = OpenFailure::None;

    bool cancelled = false; // the player gave up waiting for the file

    // A source that ended before its first byte.
    bool empty() const { return rows == 0 && !readError && !cancelled && openFailure == OpenFailure::None; }
    // Where the load stopped when it overflowed: past row 100, or at the 101st cell of line `rows`.
    bool cutPastLastRow() const { return overflowed && rows > 100; }
};

// Reads a maze into the grid. Cells are only ever written, never cleared. Lines end with CR LF or a lone CR;
// a lone LF is an ordinary cell. Loading stops at the first cell that does not fit in 100 x 100, or once the
// 100th row is complete, without reading any further: whatever the source, a load reads at most 100 rows of
// 101 bytes, their line ends and one buffer. Past the 100th row only the bytes already read are looked at, to
// tell whether the maze was cut.
LoadResult readMaze(ByteSource& source, MazeGrid& maze);

// A maze file read into a grid of its own, away from the game, so that it can be read on any thread.
struct MazeRead {
    LoadResult result;
    std::optional<MazeGrid> maze; // empty when the file did not open
};
MazeRead readMazeFile(MazeFile& file);

// The game takes what was read: the player goes back to the start, a file that opened replaces the maze (so
// that only what it holds is shown), and the view is redrawn, also when the file could not be opened, which
// leaves the maze as it was.
void enterMaze(Game& game, MazeRead&& read, Canvas& canvas);

} // namespace zirk
