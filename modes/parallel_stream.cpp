#include "modes/parallel_stream.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "frame/line_split.h"
#include "print/output.h"

namespace spanlet::cli {
namespace {

// A part (DEFAULT_PART_SIZE) is cut at the last line feed once that much is
// read: large enough that handing it over costs nothing next to answering
// it, small enough that a few a worker stay in the caches.
// How long, in milliseconds, a pipe may stay empty before what was read is
// answered and written without waiting for a whole part: a writer that is
// merely slower than the workers keeps the parts whole.
constexpr int WRITER_PAUSE = 1;
// Parts in flight, a worker each and as many being read or written.
constexpr size_t PARTS_PER_WORKER = 2;

// Bytes in memory, handed out whole.
class memory_source final : public byte_source {
public:
    explicit memory_source(std::string_view bytes) : bytes_(bytes) {}
    long read(char* into, size_t size) override {
        const size_t count = std::min(size, bytes_.size());
        if (count != 0)
            std::memcpy(into, bytes_.data(), count);
        bytes_.remove_prefix(count);
        return static_cast<long>(count);
    }
    [[nodiscard]] bool may_wait() const override { return false; }
    [[nodiscard]] bool empty() const { return bytes_.empty(); }

private:
    std::string_view bytes_;
};

// The bytes of `head`, then those of `rest`.
class joined_source final : public byte_source {
public:
    joined_source(std::string_view head, byte_source& rest) : head_(head), rest_(rest) {}
    long read(char* into, size_t size) override {
        if (head_.empty())
            return rest_.read(into, size);
        return head_.read(into, size);
    }
    [[nodiscard]] bool may_wait() const override { return rest_.may_wait(); }

private:
    memory_source head_;
    byte_source& rest_;
};

class memory_sink final : public byte_sink {
public:
    explicit memory_sink(std::string& text) : text_(text) {}
    bool write(const char* data, size_t size) override {
        text_.append(data, size);
        return true;
    }

private:
    std::string& text_;
};

// Counts what is written, and keeps none of it.
class counting_sink final : public byte_sink {
public:
    bool write(const char* /*data*/, size_t size) override {
        bytes += size;
        return true;
    }
    size_t bytes = 0;
};

// Bytes read: a buffer of a part and a block, allocated once, and how much of it is used.
struct read_bytes {
    std::vector<char> buffer;
    size_t size = 0;
    [[nodiscard]] std::string_view text() const { return {buffer.data(), size}; }
    // Where the last line feed is, or `size` when there is none.
    [[nodiscard]] size_t last_feed() const {
        for (size_t at = size; at > 0; --at) {
            if (buffer[at - 1] == '\n')
                return at - 1;
        }
        return size;
    }
};

struct part {
    read_bytes input;    // whole lines; the last part may end without a line feed
    uint64_t from = 0;   // or, from a regular file, the lines that start in [from, to)
    uint64_t to = 0;     // 0: to the end of the file
    std::string output;  // their rows
    uint64_t sequence = 0;
    uint64_t lines = 0;
    int status = EXIT_OK;
    bool said = false;     // a line drew a message
    bool stopped = false;  // left before its end: memory ran out
    bool done = false;
};

// The regular file that workers may read their parts of themselves (pread),
// or -1: on Windows, the main thread reads every input.
int parts_file(const byte_source& input) {
#ifdef _WIN32
    static_cast<void>(input);
    return -1;
#else
    return input.file_descriptor();
#endif
}

class parallel_stream {
public:
    parallel_stream(part_answerer answerer, const options& opts, const char* name, byte_source& input,
                    byte_sink& answers, message_log& messages, const pair_rule& rule, unsigned workers, size_t part_size)
        : answer_part_(answerer), opts_(opts), name_(name), input_(input), answers_(answers), messages_(messages), rule_(rule),
          file_(parts_file(input)), part_size_(part_size), parts_(size_t{workers} * PARTS_PER_WORKER) {
        for (unsigned i = 0; i < workers; ++i) {
            try {
                workers_.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                break;  // as many as the system gives
            }
        }
    }
    ~parallel_stream() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            closing_ = true;
        }
        work_ready_.notify_all();
        for (std::thread& worker : workers_)
            worker.join();
    }
    parallel_stream(const parallel_stream&) = delete;
    parallel_stream& operator=(const parallel_stream&) = delete;
    parallel_stream(parallel_stream&&) = delete;
    parallel_stream& operator=(parallel_stream&&) = delete;

    [[nodiscard]] bool started() const { return !workers_.empty(); }

    int run() {
#ifndef _WIN32
        if (file_ >= 0)
            return read_file_parts();
#endif
        read_bytes pending;  // read and not handed out: whole lines, then the start of one
        bool at_end = false;
        while (!at_end && !halted()) {
            at_end = read_part(pending);
            if (at_end) {
                if (pending.size != 0)
                    hand_out(pending, pending.size);
                break;
            }
            const size_t feed = pending.last_feed();
            if (feed == pending.size) {
                // A line longer than a part: the rest goes through one worker.
                write_all();
                if (halted())
                    break;
                return finish(read_serially(pending.text()));
            }
            hand_out(pending, feed + 1);
        }
        write_all();
        return finish(EXIT_OK);
    }

private:
    // Reads until `pending` holds a part; true at the end of the input (or
    // a read error, said at the end).
    bool read_part(read_bytes& pending) {
        pending.buffer.resize(part_size_ + BLOCK_SIZE);
        while (pending.size < part_size_) {
            if (!input_.ready_within(WRITER_PAUSE)) {
                // Nothing answered waits behind a read that blocks: the
                // rows are written as they come until bytes do.
                const size_t feed = pending.last_feed();
                if (feed != pending.size)
                    hand_out(pending, feed + 1);
                while (written_ != handed_) {
                    write_finished();
                    if (written_ == handed_ || input_.ready_within(WRITER_PAUSE))
                        break;
                }
            }
            const long got = input_.read(pending.buffer.data() + pending.size, pending.buffer.size() - pending.size);
            if (got < 0) {
                read_failed_ = true;
                read_error_ = errno;
                return true;
            }
            if (got == 0)
                return true;
            pending.size += static_cast<size_t>(got);
        }
        return false;
    }

#ifndef _WIN32
    // A regular file: the workers read their parts themselves, part_size_
    // bytes of it each, from where the descriptor stands.
    int read_file_parts() {
        struct stat status {};
        const off_t start = lseek(file_, 0, SEEK_CUR);
        if (start < 0 || fstat(file_, &status) != 0) {
            read_failed_ = true;
            read_error_ = errno;
            return finish(EXIT_OK);
        }
        const auto from = static_cast<uint64_t>(start);
        const auto end = static_cast<uint64_t>(status.st_size);
        const uint64_t parts = end > from ? (end - from + part_size_ - 1) / part_size_ : 1;
        for (uint64_t k = 0; k < parts && !halted(); ++k) {
            part& next = free_slot();
            next.from = from + k * part_size_;
            next.to = k + 1 == parts ? 0 : from + (k + 1) * part_size_;
            hand_over(next);
        }
        write_all();
        return finish(EXIT_OK);
    }
#endif

    // The lines of `which` answered into its output, their messages said to
    // `messages`: the bytes read for it, or its lines of the file.
    int answer_part(part& which, message_log& messages, input_part& where) {
        which.output.clear();
        memory_sink rows(which.output);
#ifndef _WIN32
        if (file_ >= 0) {
            file_lines bytes(file_, which.from, which.to, which.sequence == 0);
            return answer_part_(opts_, name_, bytes, rows, messages, rule_, where);
        }
#endif
        memory_source bytes(which.input.text());
        return answer_part_(opts_, name_, bytes, rows, messages, rule_, where);
    }

    // The first `size` bytes of `pending` to the next worker: the part
    // takes the buffer, and what follows them goes to the front of the
    // part's old one, which `pending` takes.
    void hand_out(read_bytes& pending, size_t size) {
        part& next = free_slot();
        std::swap(next.input, pending);
        pending.buffer.resize(part_size_ + BLOCK_SIZE);
        pending.size = next.input.size - size;
        if (pending.size != 0)
            std::memcpy(pending.buffer.data(), next.input.buffer.data() + size, pending.size);
        next.input.size = size;
        hand_over(next);
    }

    // The slot of the next part to hand out, its rows written first when
    // the ring is full.
    part& free_slot() {
        if (handed_ - written_ == parts_.size())
            write_oldest();
        return slot(handed_);
    }

    // `next`, the part in the next slot, to the workers.
    void hand_over(part& next) {
        next.sequence = handed_;
        next.done = false;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            ++handed_;
        }
        work_ready_.notify_one();
    }

    void write_all() {
        while (written_ != handed_)
            write_oldest();
    }

    // Writes the rows of the oldest parts that are answered, without waiting.
    void write_finished() {
        while (written_ != handed_) {
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                if (!slot(written_).done)
                    return;
            }
            write_oldest();
        }
    }

    // Waits for the oldest part handed out and writes its rows.
    void write_oldest() {
        part& oldest = slot(written_);
        {
            std::unique_lock<std::mutex> lock(mutex_);
            part_done_.wait(lock, [&oldest] { return oldest.done; });
        }
        if (stopped_) {
            // After a part that was left, as one worker would have: no row.
            ++written_;
            return;
        }
        if (oldest.said) {
            // Answered again, here, in order: its messages name their lines.
            input_part where{lines_before_, oldest.sequence == 0, 0, false};
            oldest.status = answer_part(oldest, messages_, where);
            oldest.stopped = where.stopped;
        }
        stopped_ = oldest.stopped;
        lines_before_ += oldest.lines;
        status_ |= oldest.status;
        if (!write_failed_ && !oldest.output.empty() && !answers_.write(oldest.output.data(), oldest.output.size())) {
            write_failed_ = true;
            write_error_ = errno;
        }
        messages_.flush();
        ++written_;
    }

    // Nothing more is handed out or written: the output failed, or a part
    // was left when memory ran out.
    [[nodiscard]] bool halted() const { return write_failed_ || stopped_; }

    // Where part `sequence` is kept.
    part& slot(uint64_t sequence) { return parts_[static_cast<size_t>(sequence % parts_.size())]; }

    // A worker: takes the parts in turn and answers each alone, counting
    // its lines; what it says is only noted.
    void work() {
        for (;;) {
            uint64_t sequence = 0;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                work_ready_.wait(lock, [this] { return taken_ != handed_ || closing_; });
                if (taken_ == handed_)
                    return;
                sequence = taken_++;
            }
            part& mine = slot(sequence);
            counting_sink said;
            input_part where{0, sequence == 0, 0, false};
            {
                message_log unsaid(said);
                mine.status = answer_part(mine, unsaid, where);
            }
            mine.lines = where.lines;
            mine.stopped = where.stopped;
            mine.said = said.bytes != 0;
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                mine.done = true;
            }
            part_done_.notify_all();
        }
    }

    // The rest of the input, `pending` first, through one worker here.
    int read_serially(std::string_view pending) {
        joined_source rest(pending, input_);
        input_part where{lines_before_, handed_ == 0, 0, false};
        return answer_part_(opts_, name_, rest, answers_, messages_, rule_, where);
    }

    int finish(int status) {
        status |= status_;
        if (read_failed_) {
            say::file_error(messages_, name_, "read error: ", read_error_);
            status = EXIT_FAILED;
        }
        if (write_failed_) {
            say::write_error(messages_, write_error_);
            status = EXIT_FAILED;
        }
        messages_.flush();
        return status;
    }

    part_answerer answer_part_;
    const options& opts_;
    const char* name_;
    byte_source& input_;
    byte_sink& answers_;
    message_log& messages_;
    const pair_rule& rule_;  // the run's one judge, shared by every worker
    int file_;  // a regular file each worker reads its part of, or -1
    size_t part_size_;
    std::vector<part> parts_;  // a ring: part n in slot n % size
    std::vector<std::thread> workers_;

    std::mutex mutex_;  // guards the counts below and every part's `done`
    std::condition_variable work_ready_;
    std::condition_variable part_done_;
    uint64_t handed_ = 0;  // parts handed out
    uint64_t taken_ = 0;   // parts taken by a worker
    bool closing_ = false;

    // The main thread's alone.
    uint64_t written_ = 0;       // parts whose rows are written
    uint64_t lines_before_ = 0;  // lines of the parts written
    int status_ = EXIT_OK;
    bool read_failed_ = false;
    int read_error_ = 0;
    bool write_failed_ = false;
    int write_error_ = 0;
    bool stopped_ = false;  // a part was left: the rows after it are not written
};

// A regular file with fewer parts left than SHARED_PARTS a worker is
// answered by one: below that, starting the workers and handing the parts
// over cost more than sharing them saved (measured on two cores: -j 2 broke
// even with one worker at about 10 MiB of common lines).
constexpr uint64_t SHARED_PARTS = 6;
bool too_small_to_share(const byte_source& input, unsigned workers, size_t part_size) {
#ifdef _WIN32
    static_cast<void>(input);
    static_cast<void>(workers);
    static_cast<void>(part_size);
    return false;
#else
    const int file = input.file_descriptor();
    struct stat status {};
    if (file < 0 || fstat(file, &status) != 0)
        return false;
    const off_t at = lseek(file, 0, SEEK_CUR);
    if (at < 0 || status.st_size <= at)
        return at >= 0;
    return static_cast<uint64_t>(status.st_size - at) < SHARED_PARTS * workers * part_size;
#endif
}

unsigned worker_count(unsigned jobs) {
    if (jobs != 0)
        return jobs;
    const unsigned processors = std::thread::hardware_concurrency();
    return processors == 0 ? 1 : processors;
}

}  // namespace

int run_parallel_stream(part_answerer answer_part, const options& opts, const char* name, byte_source& input,
                        byte_sink& answers, message_log& messages, const pair_rule& rule, size_t part_size) {
    const unsigned workers = worker_count(opts.jobs);
    if (workers > 1 && !too_small_to_share(input, workers, part_size)) {
        try {
            parallel_stream stream(answer_part, opts, name, input, answers, messages, rule, workers, part_size);
            if (stream.started())
                return stream.run();
        } catch (const std::bad_alloc&) {
            say::out_of_memory(messages);
            messages.flush();
            return EXIT_FAILED;
        }
    }
    input_part whole;
    return answer_part(opts, name, input, answers, messages, rule, whole);
}

}  // namespace spanlet::cli
