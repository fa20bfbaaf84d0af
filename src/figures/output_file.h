// Writing the outputs of one run so that no file of the user's is lost.
//
// open_output checks a path as the shell's `>` would (the folder exists and
// may be written, an existing file may be written) and opens an unnamed
// spool for the content: nothing appears on disk while a figure is made,
// and a signal or a crash leaves nothing behind. commit_outputs then puts
// every output of the run in place together: each new or replaced file as
// a temporary file in its folder, flushed to disk and renamed over the
// target once all of them are complete; if any fails, every target is as
// it was.
//
// Some targets cannot be renamed over and are written in place instead,
// once the content is complete: "-" (the standard output), /dev/stdout,
// /dev/fd/N and /proc/self/fd/N (the open descriptor itself, at its offset,
// so that `>> log` still appends), devices and FIFOs, the file the standard
// output goes to, a file with several hard links (all names keep seeing
// the new content) and a writable file in a folder that is not.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "figures/image.h"

namespace fourview {

struct OutputFile {
    std::string path;      // as given
    std::string target;    // renamed over: the path with symbolic links followed
    bool in_place = false; // written through `place` instead of renamed over
    int place = -1;        // in place: the open target
    bool truncate = false; // in place: a regular file opened by name, emptied first
    int spool = -1;        // the content while it is made; no name on disk
    bool spool_in_folder = false;  // the spool lies in the target's folder
    mode_t mode = 0;
    // What the path names, for telling two outputs of one run apart: an
    // existing file by device and inode, a new one by its absolute name.
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    bool discards = false;  // /dev/null, which any number of outputs may share
    std::string absolute;
};

// On failure `error` holds "PATH: reason" and nothing was made.
bool open_output(const std::string& path, OutputFile& out, std::string& error);
// Appends to the content; a failure (a full disk, `ulimit -f`) is "PATH: reason".
bool append_output(OutputFile& out, const uint8_t* data, std::size_t size, std::string& error);
// Puts all the outputs in place (see above). On failure `error` names the
// output that failed, and every target is as it was before the run.
bool commit_outputs(const std::vector<OutputFile*>& outs, std::string& error);
// One output: its whole content, then commit_outputs.
bool commit_output(OutputFile& out, const Bytes& data, std::string& error);
// Closes the spool and the target; removes nothing of the user's.
void abandon_output(OutputFile& out);
// Whether two opened outputs name the same file.
bool same_file(const OutputFile& a, const OutputFile& b);

// SIGINT, SIGTERM and SIGHUP then remove the temporary file being
// renamed, if any, before ending the process as they would have.
void remove_temporaries_on_signals();

// As on a file system without unnamed files (O_TMPFILE) and a system
// without /proc: every content spooled in the temporary folder and copied
// into a temporary file beside its target when complete. For the tests of
// that way; the program finds it out by itself where it must.
extern bool outputs_by_copy;

// "-", /dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N and
// /proc/PID/fd/N of this process give N; any other path -1.
int descriptor_named(const std::string& path);

}  // namespace fourview
