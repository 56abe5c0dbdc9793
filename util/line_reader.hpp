// The one reader of the text files the program reads (batch and .cup input, form definitions,
// saved values, the simulator's log). It is where the line rules live: LF or CR LF ends a line
// (CRs at its end are no part of it), and in a file whose first block holds CRs and no LF (old Mac
// files) a CR ends a line; a UTF-8 byte-order mark at the file's start is skipped, lines are
// numbered from 1, and with `Encoding::to_cp1252` a line that is UTF-8 becomes Windows-1252
// (bytes that are not UTF-8 are taken as Windows-1252 already).
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class LineReader {
  public:
    enum class Encoding { bytes, to_cp1252 };

    explicit LineReader(Encoding encoding = Encoding::to_cp1252) : encoding_(encoding) {}
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader() { close(); }

    // `path` as the file system wants it. False when the file cannot be opened.
    bool open(const std::string& path);
    // Reads `bytes` (kept by the caller while reading) as if they were a file's content.
    void open_bytes(std::string_view bytes);
    // Reads `file` (opened for reading in binary mode, e.g. by host's open_file) and closes it
    // when done. False for nullptr: the file could not be opened.
    bool open(std::FILE* file);
    void close();
    // The next line without its end; false at the end of the file or on a read error.
    bool next(std::string& line);
    // The number of the line `next` gave last (1 for the first).
    int line_number() const { return number_; }
    // True when the last line held a character that Windows-1252 cannot hold (written as '?').
    bool lossy() const { return lossy_; }
    // True when reading stopped on an error rather than at the end of the file.
    bool failed() const { return failed_; }
    // True when the file began with a UTF-8 byte-order mark (known after the first line).
    bool had_bom() const { return bom_; }

  private:
    bool fill();
    void restart();  // the state of a file not yet read

    Encoding encoding_;
    std::FILE* file_ = nullptr;
    std::string_view memory_;  // open_bytes: the whole content, served by the first fill
    bool memory_open_ = false;
    std::unique_ptr<char[]> buf_;  // not cleared: a short run reads a few hundred bytes
    const char* data_ = nullptr;   // the block being read: buf_, or the bytes of open_bytes
    std::size_t pos_ = 0, len_ = 0;
    int number_ = 0;
    bool lossy_ = false, failed_ = false, at_start_ = true, buffer_ascii_ = true, bom_ = false;
    char line_end_ = '\n';  // '\r' in a CR-only file
    bool line_end_known_ = false;
};
