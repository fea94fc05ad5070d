#pragma once
// Input and output as file descriptors, with the system's own calls, on POSIX
// and Windows alike: a read returns what a pipe holds at once, where fread
// would wait to fill its block, and the program writes blocks of its own.
// The byte source and sink are interfaces so that the tests and the fuzzers
// can drive the line stream from memory, in chunks of any size.

#include <cstddef>

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
