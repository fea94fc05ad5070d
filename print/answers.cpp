#include "print/answers.h"

#include <cerrno>

#include "frame/line_split.h"

namespace spanlet::cli {

block_writer::block_writer(byte_sink& sink, message_log& messages)
    : sink_(sink), messages_(messages), buffer_(BLOCK_SIZE) {}

void block_writer::flush() {
    write(buffer_.data(), used_);
    used_ = 0;
    messages_.flush();
}

void block_writer::write(const char* data, size_t size) {
    if (failed_ || size == 0)
        return;
    if (!sink_.write(data, size)) {
        failed_ = true;
        error_ = errno;
    }
}

}  // namespace spanlet::cli
