#pragma once

// The caller's side of an exchange: a reply buffer that knows its capacity, so nothing is ever
// written past it whatever the adapter sends.

#include <cstddef>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>

namespace kx {

// Capacities the program uses: the main window's reply buffer (probe, close path, every
// reader) and the small buffers of the area writers, which need only the acknowledgement.
inline constexpr std::size_t kMainReplyCapacity = 2048;
inline constexpr std::size_t kWriterReplyCapacity = 256;

// Holds at most capacity() - 1 reply bytes followed by a zero byte, like a C text buffer of
// that size. Either owns its storage (ReplyBuffer reply(kWriterReplyCapacity);) or wraps
// storage the caller owns (a member array of a window). Not thread-safe; UI thread only.
class ReplyBuffer {
public:
    explicit ReplyBuffer(std::size_t capacity = kMainReplyCapacity)
        : owned_(new char[capacity > 0 ? capacity : 1]),
          data_(owned_.get()),
          capacity_(capacity > 0 ? capacity : 1) {
        data_[0] = '\0';
    }
    explicit ReplyBuffer(std::span<char> storage)
        : data_(storage.data()), capacity_(storage.size()) {
        if (capacity_ > 0) {
            data_[0] = '\0';
        }
    }
    ReplyBuffer(const ReplyBuffer&) = delete;
    ReplyBuffer& operator=(const ReplyBuffer&) = delete;

    std::size_t capacity() const { return capacity_; }
    std::size_t size() const { return length_; }
    bool empty() const { return length_ == 0; }
    // The reply bytes (may hold NUL bytes the adapter sent; the view's end is the reply's end).
    std::string_view view() const { return {data_, length_}; }
    // Zero-terminated, for code that wants a C text.
    const char* c_str() const { return capacity_ > 0 ? data_ : ""; }
    // True when the reply had more bytes than this buffer (or the link's receive buffer) kept.
    bool truncated() const { return truncated_; }

    void clear() {
        length_ = 0;
        truncated_ = false;
        if (capacity_ > 0) {
            data_[0] = '\0';
        }
    }

    // Replaces the contents with at most capacity() - 1 bytes of `bytes` and terminates them.
    // `alreadyTruncated` carries a cut made further up (the link's own receive buffer).
    void assign(std::string_view bytes, bool alreadyTruncated = false) {
        if (capacity_ == 0) {
            length_ = 0;
            truncated_ = alreadyTruncated || !bytes.empty();
            return;
        }
        length_ = bytes.size() < capacity_ - 1 ? bytes.size() : capacity_ - 1;
        if (length_ > 0) {
            std::memcpy(data_, bytes.data(), length_);
        }
        data_[length_] = '\0';
        truncated_ = alreadyTruncated || length_ < bytes.size();
    }

private:
    std::unique_ptr<char[]> owned_;
    char* data_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t length_ = 0;
    bool truncated_ = false;
};

}  // namespace kx
