// A small table of records addressed by object handles: kind in bits 27-30,
// a check value in bits 16-26 (a per-table counter wrapping 2047 -> 0) and the
// slot index in bits 0-15. A handle is accepted only when all three match.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

template <typename T>
class SlotTable {
 public:
  explicit SlotTable(int32_t kind, int32_t capacity = 32768) : kind_(kind), capacity_(capacity) {}

  // Stores a new record; returns its handle or -1 when the table is full.
  int32_t Add(std::unique_ptr<T> record) {
    int32_t index = -1;
    for (size_t i = 0; i < slots_.size(); ++i) {
      if (!slots_[i].record) {
        index = static_cast<int32_t>(i);
        break;
      }
    }
    if (index < 0) {
      if (static_cast<int32_t>(slots_.size()) >= capacity_) return -1;
      slots_.emplace_back();
      index = static_cast<int32_t>(slots_.size() - 1);
    }
    const int32_t check = counter_;
    counter_ = counter_ >= 2047 ? 0 : counter_ + 1;
    slots_[index].record = std::move(record);
    slots_[index].check = check;
    ++count_;
    return (kind_ << 27) | (check << 16) | index;
  }

  T* Get(int32_t handle) const {
    if (handle < 0) return nullptr;
    if (((handle >> 27) & 15) != kind_) return nullptr;
    const int32_t index = handle & 0xFFFF;
    const int32_t check = (handle >> 16) & 0x7FF;
    if (index >= static_cast<int32_t>(slots_.size())) return nullptr;
    const Slot& slot = slots_[index];
    if (!slot.record || slot.check != check) return nullptr;
    return slot.record.get();
  }

  // Removes the record; returns it (null for an invalid handle).
  std::unique_ptr<T> Remove(int32_t handle) {
    if (!Get(handle)) return nullptr;
    --count_;
    return std::move(slots_[handle & 0xFFFF].record);
  }

  int32_t Count() const { return count_; }

  // Handles of every live record, in slot order.
  std::vector<int32_t> Handles() const {
    std::vector<int32_t> out;
    for (size_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].record)
        out.push_back((kind_ << 27) | (slots_[i].check << 16) | static_cast<int32_t>(i));
    return out;
  }

 private:
  struct Slot {
    std::unique_ptr<T> record;
    int32_t check = 0;
  };
  int32_t kind_;
  int32_t capacity_;
  int32_t counter_ = 0;
  int32_t count_ = 0;
  std::vector<Slot> slots_;
};
