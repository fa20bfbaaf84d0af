// Writing a figure so that its path ends up holding the whole file or
// nothing. A new path, or one that names a regular file (through symbolic
// links too), is written to a temporary file in the same folder and renamed
// over it once every byte is out; on failure the temporary file is removed.
// A path that names something other than a regular file — a device such as
// /dev/full, a pipe — is written in place: it is never renamed over, and no
// temporary file is made beside it.
//
// open_output runs before the picture is drawn, so that a missing or
// unwritable folder is reported at once.
#pragma once

#include <string>

#include "figures/image.h"

namespace fourview {

struct OutputFile {
    std::string path;    // as given
    std::string target;  // what is renamed over (a symbolic link followed)
    std::string temp;    // the temporary file; empty when written in place
    int fd = -1;
};

// On failure `error` holds "PATH: reason" and nothing was left behind.
bool open_output(const std::string& path, OutputFile& out, std::string& error);
bool commit_output(OutputFile& out, const Bytes& data, std::string& error);
// Closes and removes the temporary file, if any.
void abandon_output(OutputFile& out);

}  // namespace fourview
