// Intrusive lists.
#include "core/list.h"

void InitList(IntrusiveList* list) {
  list->head = ListNode{nullptr, &list->tail, 0, nullptr};
  list->tail = ListNode{&list->head, nullptr, 0, nullptr};
}

void ListInsertTail(IntrusiveList* list, ListNode* node, int32_t word1, void* word2) {
  ListNode* last = list->tail.prev;
  node->word1 = word1;
  node->word2 = word2;
  node->prev = last;
  node->next = &list->tail;
  last->next = node;
  list->tail.prev = node;
}

void ListUnlink(ListNode* node) {
  if (!node || !node->prev || !node->next) return;
  node->prev->next = node->next;
  node->next->prev = node->prev;
  node->prev = nullptr;
  node->next = nullptr;
}

int ListCount(const IntrusiveList* list) {
  int count = 0;
  for (const ListNode* n = list->head.next; n && n->next; n = n->next) ++count;
  return count;
}
