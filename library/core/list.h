// Intrusive doubly linked lists with sentinel head and tail nodes; each node
// carries two data words (for sounds: the sound handle and its record). A list
// is walked from head.next until a node whose next is null (the tail).
#pragma once
#include <cstdint>

struct ListNode {
  ListNode* prev;
  ListNode* next;
  int32_t word1;
  void* word2;
};

struct IntrusiveList {
  ListNode head;
  ListNode tail;
};

void InitList(IntrusiveList* list);
void ListInsertTail(IntrusiveList* list, ListNode* node, int32_t word1, void* word2);
void ListUnlink(ListNode* node);  // a node not in a list (prev and next null) is left alone
int ListCount(const IntrusiveList* list);
