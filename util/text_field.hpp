// TextField<N>: a fixed-capacity text padded with blanks.
//
// Much of the program's behaviour depends on field capacities (coordinate texts cut at 20,
// names at 36, landscapes at 80, paths at 256), so those fields are this type rather than
// std::string. Content ends at the last non-blank byte; assignment cuts at N; two fields compare
// as blank-padded texts (trailing blanks never matter). view() is the trimmed content.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

template <std::size_t N>
class TextField {
    static_assert(N > 0);

  public:
    static constexpr std::size_t capacity = N;

    constexpr TextField() { buf_.fill(' '); }
    constexpr TextField(std::string_view s) { assign(s); }  // NOLINT: implicit by design
    constexpr TextField(const char* s) : TextField(std::string_view(s)) {}
    constexpr TextField(const std::string& s) : TextField(std::string_view(s)) {}

    constexpr TextField& operator=(std::string_view s) {
        assign(s);
        return *this;
    }
    constexpr TextField& operator=(const char* s) { return *this = std::string_view(s); }
    constexpr TextField& operator=(const std::string& s) { return *this = std::string_view(s); }

    // Copies s cut at the capacity and pads with blanks.
    constexpr void assign(std::string_view s) {
        std::size_t n = std::min(s.size(), N);
        std::copy_n(s.begin(), n, buf_.begin());
        std::fill(buf_.begin() + n, buf_.end(), ' ');
        len_ = trimmed_length(n);
    }
    constexpr void clear() { assign({}); }

    // The content up to the last non-blank byte.
    constexpr std::string_view view() const { return {buf_.data(), len_}; }
    std::string str() const { return std::string(view()); }
    // The whole field, blanks included.
    constexpr std::string_view padded() const { return {buf_.data(), N}; }

    constexpr std::size_t length() const { return len_; }
    constexpr bool blank() const { return len_ == 0; }
    // Byte at position i (0-based); a blank past the end of the field.
    constexpr char operator[](std::size_t i) const { return i < N ? buf_[i] : ' '; }

    template <std::size_t M>  // deduced, so a text converts through the string_view overload
    friend constexpr bool operator==(const TextField& a, const TextField<M>& b) {
        return a.view() == b.view();
    }
    friend constexpr bool operator==(const TextField& a, std::string_view b) {
        std::size_t n = b.find_last_not_of(' ');
        return a.view() == b.substr(0, n == std::string_view::npos ? 0 : n + 1);
    }

  private:
    constexpr std::size_t trimmed_length(std::size_t n) const {
        while (n > 0 && buf_[n - 1] == ' ') --n;
        return n;
    }

    std::array<char, N> buf_;  // every constructor writes all of it
    std::size_t len_ = 0;
};
