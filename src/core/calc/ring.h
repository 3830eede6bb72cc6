// A double-ended queue of small values in one ring buffer: what the undo
// history keeps its steps in. Unlike std::deque it allocates only when it
// grows past its largest size so far, and its size is one subtraction.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>

namespace tallix {

template <class T> class Ring {
public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t i) { return data_[(head_ + i) & mask_]; }
    const T& operator[](std::size_t i) const { return data_[(head_ + i) & mask_]; }
    T& front() { return (*this)[0]; }
    T& back() { return (*this)[size_ - 1]; }

    void push_back(T v) {
        if (size_ == cap_) Grow();
        data_[(head_ + size_) & mask_] = std::move(v);
        ++size_;
    }
    void pop_back() { --size_; }
    void pop_front() {
        head_ = (head_ + 1) & mask_;
        --size_;
    }
    void clear() {
        head_ = 0;
        size_ = 0;
    }

private:
    void Grow() {
        const std::size_t cap = cap_ ? 2 * cap_ : 64;
        auto data = std::make_unique<T[]>(cap);
        for (std::size_t i = 0; i < size_; ++i) data[i] = std::move((*this)[i]);
        data_ = std::move(data);
        cap_ = cap;
        mask_ = cap - 1;
        head_ = 0;
    }

    std::unique_ptr<T[]> data_;
    std::size_t cap_ = 0, mask_ = 0, head_ = 0, size_ = 0;
};

} // namespace tallix
