// ObjectHandle tables: one generic table type that every kind of library object
// (graphs, fonts, sounds, ...) keeps its records in. A handle is
// (kind << 27) | (check << 16) | slot: kind 1-15 in bits 27-30, a check value
// 0-2047 in bits 16-26 from a per-table counter that wraps from 2047 to 0, and
// the slot index 0-65535 in bits 0-15. A negative value is never a valid handle.
#pragma once
#include <cstdint>

enum HandleKind : int32_t {
  HandleKindGraph = 1,
  HandleKindSoftImage = 2,
  HandleKindSound = 3,
  HandleKindSoftSound = 4,
  HandleKindMusic = 5,
  HandleKindMovie = 6,
  HandleKindMask = 7,
  HandleKindFont = 8,
  HandleKindNetwork = 9,
  HandleKindSurface2D = 10,
  HandleKindSurfaceData = 11,
  HandleKindOther = 12,
};

constexpr int32_t HandleKindShift = 27;
constexpr int32_t HandleCheckShift = 16;
constexpr int32_t HandleCheckMax = 2047;
constexpr int32_t HandleSlotMask = 0xFFFF;
constexpr int32_t HandleMaxSlots = 65536;

struct HandleTable {
  int32_t kind;        // 1-15
  int32_t capacity;    // slots
  int32_t used;        // slots in use
  int32_t nextCheck;   // check value of the next handle made (wraps 2047 -> 0)
  int32_t lowestFree;  // search hint
  void** objects;      // per slot: the record, null when free
  uint16_t* checks;    // per slot: check value of the handle that holds it
};

// Prepares an empty table; 0, or -1 for a bad kind / capacity or no memory.
int InitHandleTable(HandleTable* table, int32_t kind, int32_t capacity);
// Frees the table's arrays (not the records).
void FreeHandleTable(HandleTable* table);

// Stores object (non-null) in the first free slot: its new handle, or -1 when full.
int32_t AddHandle(HandleTable* table, void* object);
// The record of a valid handle, or null (wrong kind, slot out of range or free,
// check value mismatch, negative value).
void* LookupHandle(const HandleTable* table, int32_t handle);
// The slot of a valid handle, or -1.
int32_t HandleSlot(const HandleTable* table, int32_t handle);
// Frees the slot of a valid handle and returns its record (null when invalid).
void* RemoveHandle(HandleTable* table, int32_t handle);
// The handle that currently holds slot, or -1 when it is free: for walking a table.
int32_t HandleAtSlot(const HandleTable* table, int32_t slot);

inline int32_t MakeHandle(int32_t kind, int32_t check, int32_t slot) {
  return (kind << HandleKindShift) | (check << HandleCheckShift) | slot;
}
inline int32_t HandleKindOf(int32_t handle) { return (handle >> HandleKindShift) & 15; }
