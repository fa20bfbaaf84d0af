#include "figures/output_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace fourview {

namespace {

std::string reason(const std::string& path, int error) {
    return path + ": " + std::strerror(error);
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string base_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t default_file_mode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The temporary files being renamed, for the signal handler: fixed storage,
// so that the handler reads nothing that may be half changed.
constexpr int kMostTemporaries = 16;
char temporary_names[kMostTemporaries][PATH_MAX];
volatile sig_atomic_t temporary_used[kMostTemporaries];

int note_temporary(const std::string& name) {
    for (int i = 0; i < kMostTemporaries; ++i)
        if (temporary_used[i] == 0 && name.size() < PATH_MAX) {
            std::memcpy(temporary_names[i], name.c_str(), name.size() + 1);
            temporary_used[i] = 1;
            return i;
        }
    return -1;
}

void forget_temporary(int slot, bool remove) {
    if (slot < 0) return;
    if (remove) unlink(temporary_names[slot]);
    temporary_used[slot] = 0;
}

extern "C" void remove_temporaries_and_end(int signal_number) {
    for (int i = 0; i < kMostTemporaries; ++i)
        if (temporary_used[i] != 0) unlink(temporary_names[i]);
    std::signal(signal_number, SIG_DFL);
    raise(signal_number);
}

// An unnamed file in `folder` (O_TMPFILE): it has a name only when linked.
int unnamed_file_in(const std::string& folder, mode_t mode) {
    // Readable too: where it cannot be linked (no /proc) it is copied.
    return open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
}

bool no_unnamed_files(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// The spool of a target written in place, or of a folder whose file system
// has no unnamed files: in the temporary folder, or failing that in memory.
int spool_elsewhere() {
    const char* tmp = std::getenv("TMPDIR");
    for (const char* folder : {tmp, "/tmp"})
        if (folder != nullptr && folder[0] != '\0') {
            const int fd = open(folder, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
            if (fd >= 0) return fd;
        }
    return memfd_create("fourview", MFD_CLOEXEC);
}

bool write_all(int fd, const uint8_t* data, std::size_t size, int& failure) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            failure = n < 0 ? errno : EIO;
            return false;
        }
    }
    return true;
}

// Copies the whole spool into `to` at its offset.
bool copy_spool(int spool, int to, int& failure) {
    uint8_t buffer[1 << 16];
    for (off_t at = 0;;) {
        const ssize_t n = pread(spool, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            failure = errno;
            return false;
        }
        if (n == 0) return true;
        if (!write_all(to, buffer, static_cast<std::size_t>(n), failure)) return false;
        at += n;
    }
}

std::string absolute_name(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(folder_of(path).c_str(), resolved) == nullptr) return path;
    const std::string folder = resolved;
    return (folder == "/" ? "" : folder) + "/" + base_of(path);
}

void note_identity(OutputFile& out, const struct stat& st) {
    out.exists = true;
    out.device = st.st_dev;
    out.inode = st.st_ino;
    out.discards = S_ISCHR(st.st_mode) && st.st_rdev == makedev(1, 3);
}

bool open_in_place(OutputFile& out, int fd, std::string& error) {
    out.in_place = true;
    out.place = fd;
    out.spool = spool_elsewhere();
    if (out.spool < 0) {
        error = reason(out.path, errno);
        abandon_output(out);
        return false;
    }
    return true;
}

// A descriptor given by name: written as it is open, at its offset.
bool open_descriptor(OutputFile& out, int n, std::string& error) {
    const int flags = fcntl(n, F_GETFL);
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) {
        error = reason(out.path, EBADF);
        return false;
    }
    const int fd = fcntl(n, F_DUPFD_CLOEXEC, 3);
    if (fd < 0) {
        error = reason(out.path, errno);
        return false;
    }
    struct stat st{};
    if (fstat(fd, &st) == 0) note_identity(out, st);
    return open_in_place(out, fd, error);
}

// A new file, or a regular file renamed over: spooled in its folder when
// the file system allows, so that the commit only gives the spool a name.
bool open_replaced(OutputFile& out, std::string& error) {
    const std::string folder = folder_of(out.target);
    out.spool = outputs_by_copy ? (errno = EOPNOTSUPP, -1) : unnamed_file_in(folder, out.mode);
    if (out.spool >= 0) {
        out.spool_in_folder = true;
        return true;
    }
    if (!no_unnamed_files(errno)) {
        error = reason(out.path, errno);
        return false;
    }
    if (faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        error = reason(out.path, errno);
        return false;
    }
    out.spool = spool_elsewhere();
    if (out.spool < 0) {
        error = reason(out.path, errno);
        return false;
    }
    return true;
}

// Gives a complete spool a name in the target's folder, flushed to disk:
// by linking the unnamed file, or by copying it into a new file.
bool name_temporary(OutputFile& out, std::string& temp, int& slot, int& failure) {
    const std::string stem = folder_of(out.target) + "/.fourview-";
    if (out.spool_in_folder) {
        if (fchmod(out.spool, out.mode) != 0 || fsync(out.spool) != 0) {
            failure = errno;
            return false;
        }
        const std::string source = "/proc/self/fd/" + std::to_string(out.spool);
        for (int attempt = 0; attempt < 100; ++attempt) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, "%d-%d-%d", static_cast<int>(getpid()), out.spool, attempt);
            temp = stem + suffix;
            slot = note_temporary(temp);
            if (linkat(AT_FDCWD, source.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
            const int e = errno;
            forget_temporary(slot, false);
            slot = -1;
            if (e != EEXIST) break;  // no /proc: copy instead
        }
    }
    temp = stem + "XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        failure = errno;
        return false;
    }
    slot = note_temporary(temp);
    const bool ok = copy_spool(out.spool, fd, failure) && (fchmod(fd, out.mode) == 0 || (failure = errno, false)) &&
                    (fsync(fd) == 0 || (failure = errno, false));
    if (close(fd) != 0 && ok) {
        failure = errno;
        return false;
    }
    return ok;
}

bool write_in_place(OutputFile& out, int& failure) {
    if (out.truncate && ftruncate(out.place, 0) != 0) {
        failure = errno;
        return false;
    }
    if (!copy_spool(out.spool, out.place, failure)) return false;
    // A regular file is flushed like a renamed one; a pipe or a terminal
    // cannot be, and need not.
    struct stat st{};
    if (fstat(out.place, &st) == 0 && S_ISREG(st.st_mode) && fsync(out.place) != 0) {
        failure = errno;
        return false;
    }
    return true;
}

}  // namespace

bool outputs_by_copy = false;

int descriptor_named(const std::string& path) {
    if (path == "-" || path == "/dev/stdout") return 1;
    if (path == "/dev/stderr") return 2;
    const std::string own = "/proc/" + std::to_string(getpid()) + "/fd/";
    for (const std::string& prefix : {std::string("/dev/fd/"), std::string("/proc/self/fd/"), own}) {
        if (path.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = path.substr(prefix.size());
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            return -1;
        return std::atoi(digits.c_str());
    }
    return -1;
}

bool open_output(const std::string& path, OutputFile& out, std::string& error) {
    out = OutputFile{};
    out.path = path;
    out.target = path;
    out.mode = default_file_mode();
    out.absolute = path == "-" ? path : absolute_name(path);
    if (const int n = descriptor_named(path); n >= 0) return open_descriptor(out, n, error);

    struct stat st{};
    if (stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            error = reason(path, errno);
            return false;
        }
        return open_replaced(out, error);
    }
    note_identity(out, st);
    struct stat standard_output{};
    if (fstat(1, &standard_output) == 0 && standard_output.st_dev == st.st_dev &&
        standard_output.st_ino == st.st_ino)
        return open_descriptor(out, 1, error);
    // Opened as the shell's `>` opens it, so that a file the shell would
    // refuse is refused, but not emptied: that waits for the whole content.
    const int fd = open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = reason(path, errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) return open_in_place(out, fd, error);
    const std::string folder = folder_of(path);
    if (st.st_nlink > 1 || faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        out.truncate = true;
        return open_in_place(out, fd, error);
    }
    close(fd);
    // Replace what a symbolic link points to, not the link itself.
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) out.target = resolved;
    out.mode = st.st_mode & 07777;
    return open_replaced(out, error);
}

bool append_output(OutputFile& out, const uint8_t* data, std::size_t size, std::string& error) {
    int failure = 0;
    if (out.spool < 0) failure = EBADF;
    if (failure == 0 && write_all(out.spool, data, size, failure)) return true;
    error = reason(out.path, failure);
    return false;
}

bool commit_outputs(const std::vector<OutputFile*>& outs, std::string& error) {
    struct Named {
        OutputFile* out;
        std::string temp;
        int slot;
    };
    std::vector<Named> named;
    auto fail = [&](const OutputFile& out, int failure) {
        for (Named& n : named) forget_temporary(n.slot, true);
        error = reason(out.path, failure);
        return false;
    };
    int failure = 0;
    // First every renamed output complete on disk under a temporary name...
    for (OutputFile* out : outs) {
        if (out->in_place) continue;
        Named n{out, "", -1};
        const bool ok = name_temporary(*out, n.temp, n.slot, failure);
        if (n.slot >= 0) named.push_back(n);
        if (!ok) return fail(*out, failure);
    }
    // ...then the targets that can only be written in place...
    for (OutputFile* out : outs)
        if (out->in_place && !write_in_place(*out, failure)) return fail(*out, failure);
    // ...and last the renames, which do not fail for want of room.
    for (std::size_t i = 0; i < named.size(); ++i) {
        Named& n = named[i];
        if (rename(n.temp.c_str(), n.out->target.c_str()) != 0) {
            failure = errno;
            named.erase(named.begin(), named.begin() + static_cast<std::ptrdiff_t>(i));
            return fail(*n.out, failure);
        }
        forget_temporary(n.slot, false);
        const int folder = open(folder_of(n.out->target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            fsync(folder);  // the rename itself on disk; not every file system can
            close(folder);
        }
    }
    for (OutputFile* out : outs) abandon_output(*out);
    return true;
}

bool commit_output(OutputFile& out, const Bytes& data, std::string& error) {
    const bool ok = append_output(out, data.data(), data.size(), error) && commit_outputs({&out}, error);
    abandon_output(out);
    return ok;
}

void abandon_output(OutputFile& out) {
    if (out.spool >= 0) close(out.spool);
    if (out.place >= 0) close(out.place);
    out.spool = out.place = -1;
}

bool same_file(const OutputFile& a, const OutputFile& b) {
    if (a.discards && b.discards) return false;
    if (a.exists && b.exists) return a.device == b.device && a.inode == b.inode;
    return a.absolute == b.absolute;
}

void remove_temporaries_on_signals() {
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction now{};
        // A signal the caller ignores (nohup) stays ignored.
        if (sigaction(s, nullptr, &now) == 0 && now.sa_handler == SIG_IGN) continue;
        struct sigaction act{};
        act.sa_handler = remove_temporaries_and_end;
        sigemptyset(&act.sa_mask);
        sigaction(s, &act, nullptr);
    }
}

}  // namespace fourview
