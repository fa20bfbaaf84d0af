// A test's own directory under /tmp, and its removal with all in it.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace fourview::testing {

// The new directory's path; empty when none could be made.
inline std::string make_scratch_directory(const char* prefix) {
    std::string pattern = std::string("/tmp/") + prefix + ".XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// Also when a test has taken away its own permissions on it.
inline bool remove_scratch_directory(const std::string& dir) {
    chmod(dir.c_str(), 0700);
    return std::system(("rm -rf '" + dir + "'").c_str()) == 0;
}

}  // namespace fourview::testing
