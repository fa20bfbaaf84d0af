// How much memory this process may use: the least of the machine's memory,
// the limit of its control group (cgroup v2 `memory.max`, or v1
// `memory.limit_in_bytes`, on the way up to the root) and its address
// space limit. A figure too large for it is refused before it is drawn.
#pragma once

#include <string>

namespace fourview {

double process_memory_limit();

// The least limit of the cgroup that `proc_self_cgroup` (the text of
// /proc/self/cgroup) names, read under `root` (/sys/fs/cgroup); 0 when
// there is none.
double cgroup_memory_limit(const std::string& proc_self_cgroup, const std::string& root);

}  // namespace fourview
