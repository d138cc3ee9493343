// Shift-JIS (code page 932) string utilities: lead-byte test, character
// iteration, separator search that never takes a trail byte, ASCII-only case
// folding, and conversion to and from UTF-8 (iconv's "CP932" table).
#pragma once
#include <cstddef>
#include <string>

inline bool IsSjisLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
// Bytes of the character at p: 2 for a lead byte followed by a non-zero byte, else 1
// (0 at the terminating zero).
int SjisCharLength(const char* p);
// The next character after p (p itself at the terminating zero).
const char* SjisNext(const char* p);
// First / last occurrence of the single-byte character c, never a trail byte; null if none.
const char* SjisFindChar(const char* text, char c);
const char* SjisFindLastChar(const char* text, char c);
// ASCII letters folded, double-byte characters untouched.
void SjisToLowerAscii(char* text);
// Case-insensitive (ASCII only) comparison: <0, 0, >0.
int SjisCompareNoCase(const char* a, const char* b);
// Number of characters (a double-byte character counts 1).
size_t SjisCharCount(const char* text);

// CP932 -> UTF-8 and back. Undecodable bytes become '?'. ok (when given) says
// whether every byte converted.
std::string Cp932ToUtf8(const char* text, bool* ok = nullptr);
std::string Utf8ToCp932(const char* text, bool* ok = nullptr);
