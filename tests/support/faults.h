#pragma once
// Real write faults, for the tests of what a failed write leaves behind: a
// file-size limit, a full file system and a read-only folder. Each is made
// in a forked child, so the test process itself never runs under one.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

enum class Fault { FileSizeLimit, FullDisk, ReadOnlyFolder };
const char* fault_name(Fault f);
inline void PrintTo(Fault f, std::ostream* os) { *os << fault_name(f); }

// Why the fault cannot be made by this process ("" when it can): a full
// disk needs a file system of our own, which only root can mount.
std::string fault_unavailable(Fault f);

// Runs body in a forked child and hands back the texts it returned; one
// text "<child …>" instead when the child died or could not be started.
std::vector<std::string> in_child(const std::function<std::vector<std::string>()>& body);

// In a child, before anything is written: makes `dir` a place the fault can
// be injected into later. For a full disk, and for a read-only folder when
// running as root (root writes through permission bits), that is a small
// tmpfs mounted on `dir` in a private mount namespace; otherwise `dir` stays
// as it is. Returns why not when it cannot be done here, "" on success.
std::string prepare_fault(Fault f, const std::filesystem::path& dir);

// In a child, after prepare_fault: from now on writing into `folder` (which
// lies in `dir`) fails. A file-size limit lets no file grow beyond `limit`
// bytes (SIGXFSZ ignored, so the write itself fails); a full disk is filled
// up to the last byte; a read-only folder is the tmpfs remounted read-only
// as root, or `folder` without write permission otherwise.
void inject_fault(Fault f, const std::filesystem::path& dir, const std::filesystem::path& folder, size_t limit);
// Gives `folder` its write permission back (the one thing that outlives the child).
void undo_fault(Fault f, const std::filesystem::path& folder);

// The system's wording of the fault, as a failed write reports it.
std::string fault_reason(Fault f);

// The names in a folder, sorted; "<no folder>" when it cannot be read.
std::vector<std::string> names_in(const std::filesystem::path& folder);

} // namespace testsupport
