// Temporary files of saves that never finished: a picture is written under
// ".<name>.<pid>-<n>.tmp" beside its final name and renamed when complete,
// so a process killed meanwhile leaves that file behind.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace vistrel {

// Whether a process of that id runs (or exists at all).
bool ProcessRuns(pid_t pid);

// Whether `name` (no folder) is such a temporary picture file; its pid.
bool IsSaveTempName(const std::string& name, pid_t* pid);

// Removes from each folder the temporary picture files that belong to the
// user and whose process is gone. Files of running processes, of other
// users, links and everything else stay. Returns the paths removed.
std::vector<std::string> RemoveStaleSaveFiles(const std::vector<std::string>& folders);

}  // namespace vistrel
