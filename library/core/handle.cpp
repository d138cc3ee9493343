// The generic ObjectHandle table.
#include "core/handle.h"

#include "core/memory.h"

int InitHandleTable(HandleTable* table, int32_t kind, int32_t capacity) {
  if (!table) return -1;
  *table = HandleTable{};
  if (kind < 1 || kind > 15 || capacity < 1 || capacity > HandleMaxSlots) return -1;
  table->objects = static_cast<void**>(TCALLOC(sizeof(void*) * static_cast<size_t>(capacity)));
  table->checks = static_cast<uint16_t*>(TCALLOC(sizeof(uint16_t) * static_cast<size_t>(capacity)));
  if (!table->objects || !table->checks) {
    FreeHandleTable(table);
    return -1;
  }
  table->kind = kind;
  table->capacity = capacity;
  return 0;
}

void FreeHandleTable(HandleTable* table) {
  if (!table) return;
  TrackedFree(table->objects);
  TrackedFree(table->checks);
  *table = HandleTable{};
}

int32_t AddHandle(HandleTable* table, void* object) {
  if (!table || !table->objects || !object) return -1;
  for (int32_t slot = table->lowestFree; slot < table->capacity; ++slot) {
    if (table->objects[slot]) continue;
    const int32_t check = table->nextCheck;
    table->nextCheck = check >= HandleCheckMax ? 0 : check + 1;
    table->objects[slot] = object;
    table->checks[slot] = static_cast<uint16_t>(check);
    table->lowestFree = slot + 1;
    ++table->used;
    return MakeHandle(table->kind, check, slot);
  }
  table->lowestFree = table->capacity;
  return -1;
}

int32_t HandleSlot(const HandleTable* table, int32_t handle) {
  if (!table || !table->objects || handle < 0) return -1;
  if (HandleKindOf(handle) != table->kind) return -1;
  const int32_t slot = handle & HandleSlotMask;
  if (slot >= table->capacity || !table->objects[slot]) return -1;
  if (table->checks[slot] != ((handle >> HandleCheckShift) & HandleCheckMax)) return -1;
  return slot;
}

void* LookupHandle(const HandleTable* table, int32_t handle) {
  const int32_t slot = HandleSlot(table, handle);
  return slot < 0 ? nullptr : table->objects[slot];
}

void* RemoveHandle(HandleTable* table, int32_t handle) {
  const int32_t slot = HandleSlot(table, handle);
  if (slot < 0) return nullptr;
  void* object = table->objects[slot];
  table->objects[slot] = nullptr;
  --table->used;
  if (slot < table->lowestFree) table->lowestFree = slot;
  return object;
}

int32_t HandleAtSlot(const HandleTable* table, int32_t slot) {
  if (!table || !table->objects || slot < 0 || slot >= table->capacity || !table->objects[slot])
    return -1;
  return MakeHandle(table->kind, table->checks[slot], slot);
}
