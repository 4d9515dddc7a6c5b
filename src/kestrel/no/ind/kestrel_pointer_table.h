// A map from addresses to small values for the library's own work on one
// reply: open addressing over the addresses themselves, so a probe reads the
// table alone and nothing is allocated per entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace kestrel {

// Where a probe for an address starts: its page picks a block of 256 slots
// at random, its place in the page the slot in the block. The objects of one
// reply are made one after another, so their slots share a few cache lines
// and pages of a table instead of one each.
inline std::size_t address_slot(const void* p) {
  const auto address = reinterpret_cast<std::uintptr_t>(p);
  const auto block = static_cast<std::size_t>((address >> 12) * 0x9E3779B97F4A7C15ull >> 20);
  return (block << 8) + ((address >> 4) & 255);
}

// Slots for this many entries in a table kept at most half full: a power
// of two, so a probe wraps with a mask.
inline std::size_t half_full_capacity(std::size_t entries) {
  std::size_t capacity = 16;
  while (capacity < 2 * entries) capacity <<= 1;
  return capacity;
}

template <class Value>
class PointerTable {
 public:
  // Room for this many entries without growing.
  explicit PointerTable(std::size_t entries) : slots_(half_full_capacity(entries)) {}

  // The value of a non-null key, made from value when the key is new, and
  // whether it was.
  std::pair<Value*, bool> try_emplace(const void* key, Value value) {
    if (2 * (size_ + 1) > slots_.size()) grow();
    Slot& slot = slot_of(key);
    if (slot.key) return {&slot.value, false};
    slot = {key, std::move(value)};
    ++size_;
    return {&slot.value, true};
  }

  // The value of the key, or null.
  Value* find(const void* key) {
    Slot& slot = slot_of(key);
    return slot.key ? &slot.value : nullptr;
  }

 private:
  struct Slot {
    const void* key = nullptr;
    Value value{};
  };

  // The key's slot, or the free one where it would go.
  Slot& slot_of(const void* key) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = address_slot(key) & mask;; i = (i + 1) & mask)
      if (slots_[i].key == key || !slots_[i].key) return slots_[i];
  }

  void grow() {
    std::vector<Slot> old(2 * slots_.size());
    old.swap(slots_);
    for (Slot& slot : old)
      if (slot.key) slot_of(slot.key) = std::move(slot);
  }

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
};

}  // namespace kestrel
