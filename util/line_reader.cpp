#include "util/line_reader.hpp"

#include <cstring>

#include "util/cp1252.hpp"

namespace {
constexpr std::size_t buffer_size = 1 << 16;
constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";
}  // namespace

bool LineReader::open(std::FILE* file) {
    close();
    file_ = file;
    if (!file_) return false;
    if (!buf_) buf_ = std::make_unique_for_overwrite<char[]>(buffer_size);
    restart();
    return true;
}

void LineReader::open_bytes(std::string_view bytes) {
    close();
    memory_ = bytes;
    memory_open_ = true;
    restart();
}

void LineReader::restart() {
    pos_ = len_ = 0;
    number_ = 0;
    lossy_ = failed_ = false;
    at_start_ = true;
    bom_ = line_end_known_ = false;
    line_end_ = '\n';
}

void LineReader::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    memory_open_ = false;
}

bool LineReader::fill() {
    if (memory_open_) {
        memory_open_ = false;
        data_ = memory_.data();
        len_ = memory_.size();
    } else {
        if (!file_ || std::feof(file_) || std::ferror(file_)) return false;
        data_ = buf_.get();
        len_ = std::fread(buf_.get(), 1, buffer_size, file_);
        if (std::ferror(file_)) failed_ = true;
    }
    pos_ = 0;
    const std::string_view block(data_, len_);
    // One look at the whole buffer spares one per line in the usual all-ASCII file.
    buffer_ascii_ = is_ascii(block);
    if (!line_end_known_ && len_ > 0) {
        line_end_known_ = true;
        if (block.find('\n') == std::string_view::npos &&
            block.find('\r') != std::string_view::npos)
            line_end_ = '\r';
    }
    return len_ > 0;
}

bool LineReader::next(std::string& line) {
    line.clear();
    lossy_ = false;
    bool any = false, line_ascii = true;
    for (;;) {
        if (pos_ == len_ && !fill()) {
            if (!any && line.empty()) return false;
            break;
        }
        any = true;
        const char* start = data_ + pos_;
        const char* nl = static_cast<const char*>(std::memchr(start, line_end_, len_ - pos_));
        const std::size_t n = nl ? std::size_t(nl - start) : len_ - pos_;
        line.append(start, n);
        pos_ += n;
        if (!buffer_ascii_) line_ascii = false;
        if (nl) {
            ++pos_;
            break;
        }
    }
    if (at_start_) {
        at_start_ = false;
        bom_ = line.starts_with(utf8_bom);
        if (bom_) line.erase(0, utf8_bom.size());
    }
    // CRs at the end belong to the line end: a text never ends with one, so what is written
    // back reads back the same.
    while (!line.empty() && line.back() == '\r') line.pop_back();
    if (encoding_ == Encoding::to_cp1252 && !line_ascii && !is_ascii(line)) {
        line = utf8_or_cp1252_to_cp1252(line, lossy_);
    }
    ++number_;
    return true;
}
