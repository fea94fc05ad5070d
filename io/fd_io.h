#pragma once
// Input and output as file descriptors, with the system's own calls, on POSIX
// and Windows alike: a read returns what a pipe holds at once, where fread
// would wait to fill its block, and the program writes blocks of its own.
// The byte source and sink are interfaces so that the tests and the fuzzers
// can drive the line stream from memory, in chunks of any size.

#include <cstddef>
#include <cstdint>

namespace spanlet::cli {

class byte_source {
public:
    byte_source() = default;
    byte_source(const byte_source&) = delete;
    byte_source& operator=(const byte_source&) = delete;
    byte_source(byte_source&&) = delete;
    byte_source& operator=(byte_source&&) = delete;
    virtual ~byte_source() = default;
    // Up to `size` bytes into `into`: how many, 0 at the end, or -1 with
    // errno set.
    virtual long read(char* into, size_t size) = 0;
    // Whether a read may wait for a writer (a pipe, a terminal), so that what
    // was answered so far must be written out first.
    [[nodiscard]] virtual bool may_wait() const = 0;
    // The descriptor of a regular file that may be read at any offset
    // (pread), or -1.
    [[nodiscard]] virtual int file_descriptor() const { return -1; }
    // Whether a read would not wait, having waited up to `milliseconds` for
    // bytes (or the end) to come; at once for an input that never waits.
    [[nodiscard]] virtual bool ready_within(int milliseconds) const {
        static_cast<void>(milliseconds);
        return !may_wait();
    }
};

class byte_sink {
public:
    byte_sink() = default;
    byte_sink(const byte_sink&) = delete;
    byte_sink& operator=(const byte_sink&) = delete;
    byte_sink(byte_sink&&) = delete;
    byte_sink& operator=(byte_sink&&) = delete;
    virtual ~byte_sink() = default;
    // All `size` bytes, or false with errno set.
    virtual bool write(const char* data, size_t size) = 0;
};

class fd_source final : public byte_source {
public:
    explicit fd_source(int fd);
    long read(char* into, size_t size) override;
    [[nodiscard]] bool may_wait() const override { return may_wait_; }
    [[nodiscard]] bool ready_within(int milliseconds) const override;
    [[nodiscard]] int file_descriptor() const override { return may_wait_ ? -1 : fd_; }

private:
    int fd_;
    bool may_wait_;
};

// Writes through short writes and interruptions, and waits while a
// non-blocking descriptor is full; only a real error fails. On Windows, line
// feeds go out as CR LF, as a console program's do, but made here rather
// than by the C library, which would split a block of messages into many
// writes and let another program's lines in between; with `as_text` false
// (CSV records, which keep their own line endings) bytes go out unchanged.
class fd_sink final : public byte_sink {
public:
    explicit fd_sink(int fd, bool as_text = true);
    bool write(const char* data, size_t size) override;

private:
    [[nodiscard]] bool write_all(const char* data, size_t size) const;
#ifdef _WIN32
    bool write_crlf(const char* data, size_t size);
#endif

    int fd_;
    [[maybe_unused]] bool as_text_;  // read on Windows only
};

#ifndef _WIN32
// The lines of a regular file that start in [from, to), read with pread at
// offsets of their own, so that many readers share one descriptor: from the
// first line that starts at or after `from` (`from` itself when `first`)
// through the line feed that ends the last one that starts before `to`; with
// `to` 0, to the end of the file. Consecutive ranges give every line once.
class file_lines final : public byte_source {
public:
    file_lines(int fd, uint64_t from, uint64_t to, bool first) : fd_(fd), at_(from), to_(to), started_(first) {}
    long read(char* into, size_t size) override;
    [[nodiscard]] bool may_wait() const override { return false; }

private:
    [[nodiscard]] long read_at(char* into, size_t size, uint64_t offset) const;
    bool find_start(char* scratch, size_t size);

    int fd_;
    uint64_t at_;
    uint64_t to_;
    bool started_;
    bool done_ = false;
};
#endif

inline constexpr int STANDARD_OUTPUT = 1;
inline constexpr int STANDARD_ERROR = 2;

// A file opened for reading, or "-": standard input (binary on Windows, so
// that CR LF is read as it stands). Closes what it opened.
class input_file {
public:
    explicit input_file(const char* path);
    ~input_file();
    input_file(const input_file&) = delete;
    input_file& operator=(const input_file&) = delete;
    input_file(input_file&&) = delete;
    input_file& operator=(input_file&&) = delete;
    [[nodiscard]] int fd() const { return fd_; }  // -1, with errno set, when it could not be opened

private:
    int fd_;
    bool owned_;
};

}  // namespace spanlet::cli
