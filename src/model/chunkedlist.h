#pragma once

#include <atomic>
#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

namespace lirsk {

// The stops of a map in list order, kept in chunks that copies of the list share: copying a list
// costs a pointer a chunk, and a chunk is copied only when it is changed while another list (a
// copy being written on another thread, say) still holds it. Reading never copies.
template <class T> class ChunkedList {
public:
    static constexpr std::size_t kChunkSize = 1024;

    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;

        const_iterator() = default;
        const_iterator(const ChunkedList* list, std::size_t at) : m_list(list), m_at(at) {}
        reference operator*() const { return (*m_list)[m_at]; }
        pointer operator->() const { return &(*m_list)[m_at]; }
        reference operator[](difference_type n) const { return (*m_list)[m_at + n]; }
        const_iterator& operator++() { return ++m_at, *this; }
        const_iterator operator++(int) { return {m_list, m_at++}; }
        const_iterator& operator--() { return --m_at, *this; }
        const_iterator operator--(int) { return {m_list, m_at--}; }
        const_iterator& operator+=(difference_type n) { return m_at += n, *this; }
        const_iterator& operator-=(difference_type n) { return m_at -= n, *this; }
        friend const_iterator operator+(const_iterator i, difference_type n) { return i += n; }
        friend const_iterator operator+(difference_type n, const_iterator i) { return i += n; }
        friend const_iterator operator-(const_iterator i, difference_type n) { return i -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
            return difference_type(a.m_at) - difference_type(b.m_at);
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) {
            return a.m_at == b.m_at;
        }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) {
            return a.m_at <=> b.m_at;
        }

    private:
        const ChunkedList* m_list = nullptr;
        std::size_t m_at = 0;
    };

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const T& operator[](std::size_t i) const { return (*m_chunks[i / kChunkSize])[i % kChunkSize]; }
    const T& front() const { return (*this)[0]; }
    const T& back() const { return (*this)[m_size - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_size}; }

    // The item to change: its chunk is copied first when another list shares it.
    T& mutableAt(std::size_t i) { return detached(i / kChunkSize)[i % kChunkSize]; }

    void push_back(T item) {
        if (m_size % kChunkSize == 0) {
            m_chunks.push_back(std::make_shared<Chunk>());
            m_chunks.back()->reserve(kChunkSize);
        }
        detached(m_size / kChunkSize).push_back(std::move(item));
        ++m_size;
    }
    void reserve(std::size_t count) { m_chunks.reserve((count + kChunkSize - 1) / kChunkSize); }
    void clear() {
        m_chunks.clear();
        m_size = 0;
    }
    // Drops the items from `count` on (never grows).
    void shrink(std::size_t count) {
        if (count >= m_size)
            return;
        m_chunks.resize((count + kChunkSize - 1) / kChunkSize);
        if (count % kChunkSize != 0)
            detached(m_chunks.size() - 1).resize(count % kChunkSize);
        m_size = count;
    }

private:
    using Chunk = std::vector<T>;

    Chunk& detached(std::size_t chunk) {
        std::shared_ptr<Chunk>& held = m_chunks[chunk];
        if (held.use_count() == 1) {
            // A copy let go on another thread is done reading before its count fell.
            std::atomic_thread_fence(std::memory_order_acquire);
        } else {
            auto copy = std::make_shared<Chunk>();
            copy->reserve(kChunkSize);
            copy->assign(held->begin(), held->end());
            held = std::move(copy);
        }
        return *held;
    }

    std::vector<std::shared_ptr<Chunk>> m_chunks;
    std::size_t m_size = 0;
};

} // namespace lirsk
