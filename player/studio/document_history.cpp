#include "document_history.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace studio
{
namespace
{

bool fail(std::string* error, const std::string& message)
{
    if (error)
        *error = message;
    return false;
}

bool fail_with_errno(std::string* error, const std::string& what, const std::string& path)
{
    return fail(error, "cannot " + what + " " + path + ": " + std::strerror(errno));
}

bool read_file(const std::string& path, std::string& bytes, std::string* error)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail_with_errno(error, "read", path);
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int readErrno = errno;
            close(fd);
            errno = readErrno;
            return fail_with_errno(error, "read", path);
        }
        if (got == 0)
            break;
        bytes.append(buffer, size_t(got));
    }
    close(fd);
    return true;
}

bool write_all(int fd, const std::string& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            return false;
        done += size_t(wrote);
    }
    return true;
}

// Writes and closes fd; on failure errno says why.
bool write_and_close(int fd, const std::string& bytes, mode_t mode, bool durable)
{
    const bool written = write_all(fd, bytes) && fchmod(fd, mode) == 0 && (!durable || fsync(fd) == 0);
    const int writeErrno = errno;
    if (close(fd) != 0 && written)
        return false;
    errno = writeErrno;
    return written;
}

// The backup need not survive a crash mid-write: the document itself is replaced atomically.
bool write_backup(const std::string& path, const std::string& bytes, mode_t mode, std::string* error)
{
    const std::string backup = path + "~";
    const int fd = open(backup.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0 || !write_and_close(fd, bytes, mode, false))
        return fail_with_errno(error, "write the backup", backup);
    return true;
}

// A temporary file beside the document, renamed over it.
bool replace_atomically(const std::string& path, const std::string& bytes, mode_t mode, std::string* error)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = folder + (slash == std::string::npos ? "/." : ".") + name + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return fail_with_errno(error, "create a temporary file in", folder);
    if (!write_and_close(fd, bytes, mode, true) || rename(temporary.c_str(), path.c_str()) != 0) {
        const int failure = errno;
        unlink(temporary.c_str());
        errno = failure;
        return fail_with_errno(error, "write", path);
    }
    return true;
}

void push_capped(std::deque<std::string>& steps, std::string text)
{
    steps.push_back(std::move(text));
    if (steps.size() > DocumentHistory::kMaxSteps)
        steps.pop_front();
}

} // namespace

DocumentHistory::DocumentHistory(std::string path) : path_(std::move(path)) {}

bool DocumentHistory::replace_file(const std::string& text, std::string* error)
{
    changedOnDisk_ = false;
    if (!known_)
        return fail(error, "the document " + path_ + " has not been read yet");
    std::string onDisk;
    if (!read_file(path_, onDisk, error))
        return false;
    if (onDisk != current_) {
        undo_.clear();
        redo_.clear();
        current_ = std::move(onDisk);
        changedOnDisk_ = true;
        return fail(error, path_ + " was changed outside the studio; reload it and make the edit again");
    }
    struct stat info;
    if (stat(path_.c_str(), &info) != 0)
        return fail_with_errno(error, "read", path_);
    const mode_t mode = info.st_mode & 07777;
    return write_backup(path_, onDisk, mode, error) && replace_atomically(path_, text, mode, error);
}

bool DocumentHistory::write(const std::string& text, std::string* error)
{
    if (!replace_file(text, error))
        return false;
    push_capped(undo_, current_);
    redo_.clear();
    current_ = text;
    return true;
}

bool DocumentHistory::step(std::deque<std::string>& from, std::deque<std::string>* to, const char* none,
                           std::string* error)
{
    changedOnDisk_ = false;
    if (from.empty())
        return fail(error, none);
    if (!replace_file(from.back(), error))
        return false;
    if (to)
        push_capped(*to, std::move(current_));
    current_ = std::move(from.back());
    from.pop_back();
    return true;
}

bool DocumentHistory::undo(std::string* error)
{
    return step(undo_, &redo_, "nothing to undo", error);
}

bool DocumentHistory::take_back(std::string* error)
{
    return step(undo_, nullptr, "nothing to take back", error);
}

bool DocumentHistory::redo(std::string* error)
{
    return step(redo_, &undo_, "nothing to redo", error);
}

bool DocumentHistory::reload_from_disk(std::string* error)
{
    std::string onDisk;
    if (!read_file(path_, onDisk, error))
        return false;
    if (!known_ || onDisk != current_) {
        undo_.clear();
        redo_.clear();
        current_ = std::move(onDisk);
        known_ = true;
    }
    return true;
}

} // namespace studio
