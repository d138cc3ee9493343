// The generic ObjectHandle table.
#include <gtest/gtest.h>

#include "core/handle.h"
#include "core/list.h"

TEST(HandleTable, EncodesKindCheckAndSlot) {
  HandleTable table;
  ASSERT_EQ(InitHandleTable(&table, HandleKindSound, 8), 0);
  int a = 1, b = 2;
  const int32_t ha = AddHandle(&table, &a);
  const int32_t hb = AddHandle(&table, &b);
  EXPECT_EQ(ha, (3 << 27) | (0 << 16) | 0);
  EXPECT_EQ(hb, (3 << 27) | (1 << 16) | 1);
  EXPECT_EQ(LookupHandle(&table, ha), &a);
  EXPECT_EQ(LookupHandle(&table, hb), &b);
  EXPECT_EQ(HandleKindOf(hb), HandleKindSound);
  FreeHandleTable(&table);
}

TEST(HandleTable, RejectsForeignStaleAndDamagedHandles) {
  HandleTable table;
  ASSERT_EQ(InitHandleTable(&table, HandleKindGraph, 4), 0);
  int a = 1, c = 3;
  const int32_t ha = AddHandle(&table, &a);
  EXPECT_EQ(LookupHandle(&table, ha ^ (1 << 27)), nullptr);       // other kind
  EXPECT_EQ(LookupHandle(&table, ha | 7), nullptr);               // slot not in use
  EXPECT_EQ(LookupHandle(&table, (ha & ~0xFFFF) | 9), nullptr);   // slot out of range
  EXPECT_EQ(LookupHandle(&table, ha + (1 << 16)), nullptr);       // wrong check value
  EXPECT_EQ(LookupHandle(&table, -1), nullptr);
  EXPECT_EQ(LookupHandle(&table, static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(ha))), nullptr);
  EXPECT_EQ(RemoveHandle(&table, ha), &a);
  EXPECT_EQ(LookupHandle(&table, ha), nullptr);  // stale after removal
  EXPECT_EQ(RemoveHandle(&table, ha), nullptr);
  const int32_t hc = AddHandle(&table, &c);      // same slot, new check value
  EXPECT_EQ(hc & 0xFFFF, 0);
  EXPECT_NE(hc, ha);
  EXPECT_EQ(LookupHandle(&table, ha), nullptr);
  EXPECT_EQ(LookupHandle(&table, hc), &c);
  FreeHandleTable(&table);
}

TEST(HandleTable, CheckValueWrapsFrom2047ToZero) {
  HandleTable table;
  ASSERT_EQ(InitHandleTable(&table, HandleKindFont, 2), 0);
  int x = 0;
  int32_t last = -1;
  for (int i = 0; i < 2048; ++i) {
    last = AddHandle(&table, &x);
    ASSERT_GE(last, 0);
    RemoveHandle(&table, last);
  }
  EXPECT_EQ((last >> 16) & 2047, 2047);
  const int32_t wrapped = AddHandle(&table, &x);
  EXPECT_EQ((wrapped >> 16) & 2047, 0);
  EXPECT_GE(wrapped, 0);
  FreeHandleTable(&table);
}

TEST(HandleTable, FullTableAndBadSetup) {
  HandleTable table;
  EXPECT_EQ(InitHandleTable(&table, 0, 4), -1);
  EXPECT_EQ(InitHandleTable(&table, 16, 4), -1);
  EXPECT_EQ(InitHandleTable(&table, 1, 65537), -1);
  ASSERT_EQ(InitHandleTable(&table, 15, 2), 0);
  int x = 0;
  const int32_t h0 = AddHandle(&table, &x);
  EXPECT_GE(h0, 0);  // kind 15 still gives a non-negative handle
  EXPECT_GE(AddHandle(&table, &x), 0);
  EXPECT_EQ(AddHandle(&table, &x), -1);
  EXPECT_EQ(AddHandle(&table, nullptr), -1);
  EXPECT_EQ(HandleAtSlot(&table, 0), h0);
  EXPECT_EQ(HandleAtSlot(&table, 2), -1);
  FreeHandleTable(&table);
}

TEST(IntrusiveList, InsertWalkUnlink) {
  IntrusiveList list;
  InitList(&list);
  ListNode a{}, b{}, c{};
  int ra = 0, rb = 0, rc = 0;
  ListInsertTail(&list, &a, 10, &ra);
  ListInsertTail(&list, &b, 20, &rb);
  ListInsertTail(&list, &c, 30, &rc);
  ListUnlink(&b);
  ListUnlink(&b);  // twice is harmless
  int words = 0;
  int count = 0;
  for (ListNode* n = list.head.next; n->next; n = n->next) {
    words = words * 100 + n->word1;
    ++count;
  }
  EXPECT_EQ(count, 2);
  EXPECT_EQ(words, 1030);
  EXPECT_EQ(ListCount(&list), 2);
  EXPECT_EQ(list.tail.prev->word2, &rc);
}
