#include "tests/support/faults.h"

#include "ui/cmd.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace testsupport {

namespace {
bool as_root() { return ::geteuid() == 0; }
bool on_tmpfs(Fault f) { return f == Fault::FullDisk || (f == Fault::ReadOnlyFolder && as_root()); }

bool write_all(int fd, const std::string& s)
{
    size_t done = 0;
    while (done < s.size()) {
        ssize_t n = ::write(fd, s.data() + done, s.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}
} // namespace

const char* fault_name(Fault f)
{
    switch (f) {
    case Fault::FileSizeLimit: return "FileSizeLimit";
    case Fault::FullDisk: return "FullDisk";
    case Fault::ReadOnlyFolder: return "ReadOnlyFolder";
    }
    return "?";
}

std::string fault_unavailable(Fault f)
{
    if (f == Fault::FullDisk && !as_root())
        return "a full disk is a tiny tmpfs in a private mount namespace, which only root can mount; run as root to "
               "include this case";
    return "";
}

std::vector<std::string> in_child(const std::function<std::vector<std::string>()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0) return {std::string("<child not started: pipe: ") + std::strerror(errno) + ">"};
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return {std::string("<child not started: fork: ") + std::strerror(errno) + ">"};
    }
    if (pid == 0) {
        ::close(fds[0]);
        std::string out;
        for (const std::string& field : body()) {
            uint64_t n = field.size();
            out.append(reinterpret_cast<const char*>(&n), sizeof n);
            out += field;
        }
        _exit(write_all(fds[1], out) ? 0 : 3);
    }
    ::close(fds[1]);
    std::string in;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        in.append(buf, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) return {"<child killed by signal " + std::to_string(WTERMSIG(status)) + ">"};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {"<child exited with " + std::to_string(WEXITSTATUS(status)) + ">"};
    std::vector<std::string> fields;
    size_t at = 0;
    while (at + sizeof(uint64_t) <= in.size()) {
        uint64_t n;
        std::memcpy(&n, in.data() + at, sizeof n);
        at += sizeof n;
        fields.push_back(in.substr(at, n));
        at += n;
    }
    return fields;
}

std::string prepare_fault(Fault f, const fs::path& dir)
{
    if (!on_tmpfs(f)) return "";
    if (::unshare(CLONE_NEWNS) != 0) return std::string("no private mount namespace: ") + std::strerror(errno);
    // Nothing mounted from here on may reach the rest of the machine.
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return std::string("mounts cannot be made private: ") + std::strerror(errno);
    if (::mount("tmpfs", dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m,mode=0755") != 0)
        return std::string("no tmpfs: ") + std::strerror(errno);
    return "";
}

void inject_fault(Fault f, const fs::path& dir, const fs::path& folder, size_t limit)
{
    switch (f) {
    case Fault::FileSizeLimit: {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit r;
        ::getrlimit(RLIMIT_FSIZE, &r);
        r.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &r);
        break;
    }
    case Fault::FullDisk: {
        int fd = ::open((dir / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) break;
        // big pieces first, then single bytes until not one more fits
        const std::string chunk(64 * 1024, 'x');
        while (::write(fd, chunk.data(), chunk.size()) > 0) {
        }
        while (::write(fd, "x", 1) > 0) {
        }
        ::close(fd);
        break;
    }
    case Fault::ReadOnlyFolder:
        if (as_root()) ::mount("none", dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr);
        else ::chmod(folder.c_str(), 0555);
        break;
    }
}

void undo_fault(Fault f, const fs::path& folder)
{
    if (f == Fault::ReadOnlyFolder && !as_root()) ::chmod(folder.c_str(), 0755);
}

std::string fault_reason(Fault f)
{
    switch (f) {
    case Fault::FileSizeLimit: return ui::failure_reason(EFBIG);
    case Fault::FullDisk: return ui::failure_reason(ENOSPC);
    case Fault::ReadOnlyFolder: return ui::failure_reason(as_root() ? EROFS : EACCES);
    }
    return "";
}

std::vector<std::string> names_in(const fs::path& folder)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        out.push_back(it->path().filename().string());
    if (ec) return {"<no folder>"};
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace testsupport
