#include "figures/memory_limit.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fourview {

namespace {

// A limit file's number; "max" and anything unreadable are no limit (0).
double read_limit(const std::string& file) {
    std::ifstream in(file);
    std::string word;
    if (!(in >> word) || word == "max") return 0;
    char* end = nullptr;
    const double v = std::strtod(word.c_str(), &end);
    // cgroup v1 writes "no limit" as a number near 2^63.
    return end != word.c_str() && *end == '\0' && v > 0 && v < 1e18 ? v : 0;
}

double least(double a, double b) { return a <= 0 ? b : b <= 0 ? a : std::fmin(a, b); }

}  // namespace

double cgroup_memory_limit(const std::string& proc_self_cgroup, const std::string& root) {
    std::istringstream lines(proc_self_cgroup);
    double limit = 0;
    for (std::string line; std::getline(lines, line);) {
        // hierarchy-id:controllers:path
        const std::size_t a = line.find(':'), b = a == std::string::npos ? a : line.find(':', a + 1);
        if (b == std::string::npos) continue;
        const std::string controllers = line.substr(a + 1, b - a - 1);
        std::string path = line.substr(b + 1);
        std::string folder, file;
        if (line.compare(0, a, "0") == 0 && controllers.empty()) {
            folder = root;
            file = "memory.max";
        } else if (("," + controllers + ",").find(",memory,") != std::string::npos) {
            folder = root + "/memory";
            file = "memory.limit_in_bytes";
        } else {
            continue;
        }
        // Every cgroup on the way up limits this one too.
        while (true) {
            limit = least(limit, read_limit(folder + path + (path == "/" ? "" : "/") + file));
            if (path.empty() || path == "/") break;
            const std::size_t slash = path.rfind('/');
            path = slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
        }
    }
    return limit;
}

double process_memory_limit() {
    const long pages = sysconf(_SC_PHYS_PAGES), page_size = sysconf(_SC_PAGESIZE);
    double limit = pages > 0 && page_size > 0 ? static_cast<double>(pages) * page_size : 0;
    std::ifstream in("/proc/self/cgroup");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    limit = least(limit, cgroup_memory_limit(text, "/sys/fs/cgroup"));
    struct rlimit r{};
    if (getrlimit(RLIMIT_AS, &r) == 0 && r.rlim_cur != RLIM_INFINITY) limit = least(limit, static_cast<double>(r.rlim_cur));
    return limit;
}

}  // namespace fourview
