#pragma once
// A byte block: a picture, sound, template or any other run of bytes (zero
// bytes included). It either owns its bytes or refers to bytes that live as
// long as the program (the embedded resources), so that handing an embedded
// picture to a control, or comparing a control's picture with one, never
// copies it. Reads look like std::string's; a change to a referring block
// first gives it bytes of its own.
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <type_traits>

namespace ui {

class Bytes {
public:
    using value_type = char;
    using size_type = std::size_t;
    using const_iterator = const char*;
    using iterator = const char*;
    static constexpr size_type npos = std::string::npos;

    Bytes() = default;
    Bytes(std::string s) : own_(std::move(s)) {}
    Bytes(const char* s) : own_(s) {}
    Bytes(const char* p, size_type n) : own_(p, n) {}
    template <class It, class = std::enable_if_t<!std::is_integral_v<It>>>
    Bytes(It first, It last) : own_(first, last)
    {
    }

    // Bytes that outlive every block (the program's embedded files): the
    // block refers to them and never copies them.
    static Bytes lasting(std::string_view bytes)
    {
        Bytes b;
        b.ref_ = bytes.data();
        b.ref_size_ = bytes.size();
        return b;
    }
    // True while the block refers to lasting bytes.
    bool is_lasting() const { return ref_ != nullptr; }

    const char* data() const { return ref_ ? ref_ : own_.data(); }
    size_type size() const { return ref_ ? ref_size_ : own_.size(); }
    size_type length() const { return size(); }
    bool empty() const { return size() == 0; }
    const char* begin() const { return data(); }
    const char* end() const { return data() + size(); }
    char operator[](size_type i) const { return data()[i]; }
    char front() const { return data()[0]; }
    char back() const { return data()[size() - 1]; }

    std::string_view view() const { return {data(), size()}; }
    operator std::string_view() const { return view(); }
    std::string str() const { return std::string(view()); }
    explicit operator std::string() const { return str(); }

    std::string substr(size_type pos = 0, size_type n = npos) const { return std::string(view().substr(pos, n)); }
    size_type find(char c, size_type pos = 0) const { return view().find(c, pos); }
    size_type find(std::string_view s, size_type pos = 0) const { return view().find(s, pos); }
    bool starts_with(std::string_view s) const { return view().starts_with(s); }
    bool ends_with(std::string_view s) const { return view().ends_with(s); }
    int compare(std::string_view s) const { return view().compare(s); }
    int compare(size_type pos, size_type n, std::string_view s) const { return view().compare(pos, n, s); }
    int compare(size_type pos, size_type n, std::string_view s, size_type s_pos, size_type s_n) const
    {
        return view().compare(pos, n, s, s_pos, s_n);
    }

    Bytes& append(std::string_view s) { return own().append(s), *this; }
    Bytes& append(const char* p, size_type n) { return own().append(p, n), *this; }
    Bytes& append(size_type n, char c) { return own().append(n, c), *this; }
    Bytes& operator+=(std::string_view s) { return append(s); }
    Bytes& operator+=(const std::string& s) { return append(s); }
    Bytes& operator+=(const char* s) { return append(std::string_view(s)); }
    Bytes& operator+=(char c) { return own().push_back(c), *this; }
    void push_back(char c) { own().push_back(c); }
    void resize(size_type n, char c = '\0') { own().resize(n, c); }
    void reserve(size_type n) { own().reserve(n); }
    void clear()
    {
        ref_ = nullptr;
        ref_size_ = 0;
        own_.clear();
    }

    // The same block seen twice compares at once; others byte by byte.
    friend bool operator==(const Bytes& a, const Bytes& b)
    {
        return (a.data() == b.data() && a.size() == b.size()) || a.view() == b.view();
    }
    friend bool operator==(const Bytes& a, const std::string& b) { return a.view() == std::string_view(b); }
    friend bool operator==(const Bytes& a, const char* b) { return a.view() == std::string_view(b); }
    friend std::string operator+(std::string a, const Bytes& b) { return a.append(b.view()); }
    friend std::string operator+(const Bytes& a, std::string_view b) { return a.str().append(b); }
    friend std::string operator+(const Bytes& a, char c) { return a.str().append(1, c); }
    friend bool operator<(const Bytes& a, const Bytes& b) { return a.view() < b.view(); }

private:
    std::string& own()
    {
        if (ref_) {
            own_.assign(ref_, ref_size_);
            ref_ = nullptr;
            ref_size_ = 0;
        }
        return own_;
    }

    std::string own_;
    const char* ref_ = nullptr;
    size_type ref_size_ = 0;
};

// Writes the bytes as they are (test failures show them as a string would).
std::ostream& operator<<(std::ostream& os, const Bytes& b);

} // namespace ui
