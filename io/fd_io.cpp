#include "io/fd_io.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <poll.h>
#include <unistd.h>
#endif

namespace spanlet::cli {
namespace {

#ifdef F_SETPIPE_SZ
constexpr int PIPE_SIZE = 1 << 20;  // what Linux lets any user ask for
#endif

#ifdef _WIN32
// _read and _write take an unsigned count.
constexpr size_t LARGEST_TRANSFER = size_t{1} << 30;
long system_read(int fd, char* into, size_t size) {
    return _read(fd, into, static_cast<unsigned>(size < LARGEST_TRANSFER ? size : LARGEST_TRANSFER));
}
long system_write(int fd, const char* data, size_t size) {
    return _write(fd, data, static_cast<unsigned>(size < LARGEST_TRANSFER ? size : LARGEST_TRANSFER));
}
bool wait_until_writable(int) { return false; }
#else
long system_read(int fd, char* into, size_t size) {
    ssize_t got = 0;
    do {
        got = ::read(fd, into, size);
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}
long system_write(int fd, const char* data, size_t size) {
    ssize_t put = 0;
    do {
        put = ::write(fd, data, size < SSIZE_MAX ? size : SSIZE_MAX);
    } while (put < 0 && errno == EINTR);
    return static_cast<long>(put);
}
// A non-blocking descriptor that is full says EAGAIN: wait until it drains.
bool wait_until_writable(int fd) {
    if (errno != EAGAIN && errno != EWOULDBLOCK)
        return false;
    pollfd writable{fd, POLLOUT, 0};
    while (poll(&writable, 1, -1) < 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}
#endif

}  // namespace

fd_source::fd_source(int fd) : fd_(fd) {
    struct stat status {};
    may_wait_ = fstat(fd, &status) != 0 || (status.st_mode & S_IFMT) != S_IFREG;
#ifdef F_SETPIPE_SZ
    // A larger pipe: fewer reads, and fewer waits for its writer. The
    // system may refuse; the pipe then stays as it is.
    if ((status.st_mode & S_IFMT) == S_IFIFO)
        static_cast<void>(fcntl(fd, F_SETPIPE_SZ, PIPE_SIZE));
#endif
}

long fd_source::read(char* into, size_t size) { return system_read(fd_, into, size); }

#ifndef _WIN32
long file_lines::read(char* into, size_t size) {
    if (!started_ && !find_start(into, size))
        return done_ ? 0 : -1;
    if (done_)
        return 0;
    const long got = read_at(into, size, at_);
    if (got <= 0) {
        done_ = got == 0;
        return got;
    }
    auto count = static_cast<size_t>(got);
    if (to_ != 0 && at_ + count >= to_) {
        // The first line feed at or after to - 1 ends the range.
        const size_t from = to_ - 1 > at_ ? static_cast<size_t>(to_ - 1 - at_) : 0;
        const void* feed = std::memchr(into + from, '\n', count - from);
        if (feed != nullptr) {
            count = static_cast<size_t>(static_cast<const char*>(feed) - into) + 1;
            done_ = true;
        }
    }
    at_ += count;
    return static_cast<long>(count);
}

long file_lines::read_at(char* into, size_t size, uint64_t offset) const {
    ssize_t got = 0;
    do {
        got = pread(fd_, into, size, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

// Moves past the end of the line going on at `from` (the first line feed at
// or after from - 1), reading into `scratch`; false, with done_, when no line
// starts in the range, or on a read error.
bool file_lines::find_start(char* scratch, size_t size) {
    for (uint64_t at = at_ - 1;;) {
        const long got = read_at(scratch, size, at);
        if (got <= 0) {
            done_ = got == 0;
            return false;
        }
        const void* feed = std::memchr(scratch, '\n', static_cast<size_t>(got));
        if (feed != nullptr) {
            at_ = at + static_cast<uint64_t>(static_cast<const char*>(feed) - scratch) + 1;
            started_ = true;
            done_ = to_ != 0 && at_ >= to_;
            return !done_;
        }
        at += static_cast<uint64_t>(got);
        if (to_ != 0 && at >= to_) {
            done_ = true;  // a line longer than the range: the range before holds it
            return false;
        }
    }
}
#endif

bool fd_source::ready_within(int milliseconds) const {
#ifdef _WIN32
    static_cast<void>(milliseconds);
    return !may_wait_;  // no cheap way to ask a Windows pipe: say it may wait
#else
    if (!may_wait_)
        return true;
    pollfd readable{fd_, POLLIN, 0};
    return poll(&readable, 1, milliseconds) != 0;  // an error or a hang-up does not wait either
#endif
}

#ifdef _WIN32
fd_sink::fd_sink(int fd, bool as_text) : fd_(fd), as_text_(as_text) {}

bool fd_sink::write(const char* data, size_t size) {
    // Binary for these writes only: the C library's own writes to the same
    // descriptor (the usage text) still get their CR LF from it.
    const int mode = _setmode(fd_, _O_BINARY);
    const bool written = as_text_ ? write_crlf(data, size) : write_all(data, size);
    if (mode != -1)
        _setmode(fd_, mode);
    return written;
}

bool fd_sink::write_crlf(const char* data, size_t size) {
    // A block of messages (at most MESSAGE_BLOCK bytes) fits whole, every
    // byte a line feed: one write.
    char converted[2 * 4096];
    size_t used = 0;
    for (size_t i = 0; i < size; ++i) {
        if (used + 2 > sizeof converted) {
            if (!write_all(converted, used))
                return false;
            used = 0;
        }
        if (data[i] == '\n')
            converted[used++] = '\r';
        converted[used++] = data[i];
    }
    return write_all(converted, used);
}
#else
fd_sink::fd_sink(int fd, bool as_text) : fd_(fd), as_text_(as_text) {}

bool fd_sink::write(const char* data, size_t size) { return write_all(data, size); }
#endif

bool fd_sink::write_all(const char* data, size_t size) const {
    while (size != 0) {
        const long put = system_write(fd_, data, size);
        if (put < 0 && wait_until_writable(fd_))
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = EIO;
            return false;
        }
        data += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

input_file::input_file(const char* path) : owned_(std::strcmp(path, "-") != 0) {
#ifdef _WIN32
    if (owned_) {
        fd_ = _open(path, _O_RDONLY | _O_BINARY);
    } else {
        _setmode(0, _O_BINARY);
        fd_ = 0;
    }
#else
    fd_ = owned_ ? open(path, O_RDONLY) : STDIN_FILENO;
#endif
}

input_file::~input_file() {
    if (owned_ && fd_ >= 0) {
#ifdef _WIN32
        _close(fd_);
#else
        close(fd_);
#endif
    }
}

}  // namespace spanlet::cli
