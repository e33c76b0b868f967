// The files of a run. Every file a block opens during a run is claimed for it in the
// utility library's one list of the run's files, at initialisation: a block may not write
// a file that another block of the run reads or writes, nor the model's own text, a
// library the process has loaded or a file the run's messages go to, and is refused (a
// counted error naming both) when it would. Files are compared as the file system knows
// them, not by their names: "./a.csv", a link or a second hard link name the same file.
#ifndef VIREO_BLOCK_FILES_H
#define VIREO_BLOCK_FILES_H

#include "BlockView.h"

#include <string_view>

namespace vireo::block {

enum class FileUse {
    reads,
    writes,
    // Written from its start: emptied when the run begins to step (through `fd`, which
    // the writer keeps open from its claim to its last call), not before.
    writesAfresh,
};

// Claims the file `name` (the one open as fd when fd >= 0): false, reported, when the run
// may not use it so.
bool claimFile(BlockView& b, std::string_view name, int fd, FileUse use);
// Gives the block's claims up (at its last call).
void releaseFiles(BlockView& b);

}  // namespace vireo::block

#endif
