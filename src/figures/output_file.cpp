#include "figures/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
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

mode_t default_file_mode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool open_output(const std::string& path, OutputFile& out, std::string& error) {
    out = OutputFile{};
    out.path = path;
    out.target = path;
    struct stat st{};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        out.fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (out.fd < 0) {
            error = reason(path, errno);
            return false;
        }
        return true;
    }
    mode_t mode = default_file_mode();
    if (exists) {
        // Replace what the link points to, not the link itself.
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved) != nullptr) out.target = resolved;
        mode = st.st_mode & 07777;
    }
    std::string temp = folder_of(out.target) + "/.fourview-XXXXXX";
    out.fd = mkstemp(temp.data());
    if (out.fd < 0) {
        error = reason(path, errno);
        return false;
    }
    out.temp = temp;
    if (fchmod(out.fd, mode) != 0) {
        error = reason(path, errno);
        abandon_output(out);
        return false;
    }
    return true;
}

bool commit_output(OutputFile& out, const Bytes& data, std::string& error) {
    int failure = 0;
    std::size_t done = 0;
    while (done < data.size() && failure == 0) {
        const ssize_t n = write(out.fd, data.data() + done, data.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR)
            failure = errno;
        else if (n == 0)
            failure = EIO;
    }
    if (close(out.fd) != 0 && failure == 0) failure = errno;
    out.fd = -1;
    if (failure == 0 && !out.temp.empty() && rename(out.temp.c_str(), out.target.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        error = reason(out.path, failure);
        abandon_output(out);
        return false;
    }
    out.temp.clear();
    return true;
}

void abandon_output(OutputFile& out) {
    if (out.fd >= 0) close(out.fd);
    out.fd = -1;
    if (!out.temp.empty()) unlink(out.temp.c_str());
    out.temp.clear();
}

}  // namespace fourview
