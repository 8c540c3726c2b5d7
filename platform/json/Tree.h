#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>

// The storage behind every json::Value: one immutable block per document. Internal to the pack.
namespace velkaro::json::detail {

enum class NodeTag : std::uint32_t { Null, Boolean, Integer, Float, String, Array, Object };

// One value, or one member name, in 16 bytes. Children of a container sit side by side in the node
// array; an object's children are (name, value) pairs already in member walk order, so walking is
// sequential and a name is found by binary search.
struct Node {
    // A value: its NodeTag. A member name: the name's walk-order hash.
    std::uint32_t head;
    // String and member name: byte length. Array: element count. Object: member count.
    std::uint32_t size;
    // String and member name: byte offset in the text. Integer: the value. Float: the bits of the
    // double. Boolean: 0 or 1. Array and object: index of the first child node.
    std::uint64_t payload;
};
static_assert(sizeof(Node) == 16);

// A growable array of trivially copyable items on malloc/realloc: large blocks are remapped
// rather than copied when they grow or shrink, which keeps the peak memory of a big parse low.
template <typename Item> class PodBuffer {
    static_assert(std::is_trivially_copyable_v<Item>);

public:
    PodBuffer() = default;
    PodBuffer(const PodBuffer&) = delete;
    PodBuffer& operator=(const PodBuffer&) = delete;
    ~PodBuffer() { std::free(items_); }

    [[nodiscard]] std::size_t size() const { return size_; }
    [[nodiscard]] std::size_t capacity() const { return capacity_; }
    [[nodiscard]] Item* data() { return items_; }
    [[nodiscard]] const Item* data() const { return items_; }
    [[nodiscard]] Item& operator[](std::size_t index) { return items_[index]; }
    [[nodiscard]] const Item& operator[](std::size_t index) const { return items_[index]; }
    [[nodiscard]] Item& back() { return items_[size_ - 1]; }

    void push_back(const Item& item) {
        if (size_ == capacity_)
            grow(size_ + 1);
        items_[size_++] = item;
    }
    // Makes room for count more items and returns where they go; the caller fills them.
    Item* extend(std::size_t count) {
        if (capacity_ - size_ < count)
            grow(size_ + count);
        Item* place = items_ + size_;
        size_ += count;
        return place;
    }
    void shrink(std::size_t newSize) { size_ = newSize; }
    void shrinkToFit() {
        if (size_ == capacity_ || size_ == 0)
            return;
        if (void* moved = std::realloc(items_, size_ * sizeof(Item))) {
            items_ = static_cast<Item*>(moved);
            capacity_ = size_;
        }
    }

private:
    void grow(std::size_t needed) {
        std::size_t wanted = capacity_ < 64 ? 64 : capacity_ + capacity_ / 2;
        if (wanted < needed)
            wanted = needed;
        void* moved = std::realloc(items_, wanted * sizeof(Item));
        if (moved == nullptr)
            throw std::bad_alloc();
        items_ = static_cast<Item*>(moved);
        capacity_ = wanted;
    }

    Item* items_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// A parsed document: the decoded body, whose bytes the strings point into (the parser unescapes in
// place), and the nodes. Never changed after parsing.
struct Tree {
    std::string text;
    PodBuffer<Node> nodes;

    [[nodiscard]] const Node& node(std::uint32_t index) const { return nodes[index]; }
    [[nodiscard]] std::string_view stringOf(const Node& node) const {
        return {text.data() + node.payload, node.size};
    }
};

} // namespace velkaro::json::detail
