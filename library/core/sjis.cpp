// Shift-JIS utilities and CP932 conversion.
#include "core/sjis.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

int SjisCharLength(const char* p) {
  if (!p || !*p) return 0;
  const auto c = static_cast<unsigned char>(p[0]);
  return IsSjisLeadByte(c) && p[1] ? 2 : 1;
}

const char* SjisNext(const char* p) { return p + SjisCharLength(p); }

const char* SjisFindChar(const char* text, char c) {
  if (!text) return nullptr;
  for (const char* p = text; *p; p = SjisNext(p)) {
    if (SjisCharLength(p) == 1 && *p == c) return p;
  }
  return nullptr;
}

const char* SjisFindLastChar(const char* text, char c) {
  if (!text) return nullptr;
  const char* found = nullptr;
  for (const char* p = text; *p; p = SjisNext(p)) {
    if (SjisCharLength(p) == 1 && *p == c) found = p;
  }
  return found;
}

static char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void SjisToLowerAscii(char* text) {
  if (!text) return;
  for (char* p = text; *p;) {
    const int n = SjisCharLength(p);
    if (n == 1) *p = FoldAscii(*p);
    p += n;
  }
}

int SjisCompareNoCase(const char* a, const char* b) {
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  for (;;) {
    const int na = SjisCharLength(a);
    const int nb = SjisCharLength(b);
    if (na == 0 || nb == 0) return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
    if (na != nb) {
      // Same lead byte, one string ends right after it: the shorter sorts first.
      if (*a != *b) return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
      return na - nb;
    }
    if (na == 1) {
      const char ca = FoldAscii(*a), cb = FoldAscii(*b);
      if (ca != cb) return static_cast<unsigned char>(ca) - static_cast<unsigned char>(cb);
    } else if (a[0] != b[0] || a[1] != b[1]) {
      return a[0] != b[0] ? static_cast<unsigned char>(a[0]) - static_cast<unsigned char>(b[0])
                          : static_cast<unsigned char>(a[1]) - static_cast<unsigned char>(b[1]);
    }
    a += na;
    b += nb;
  }
}

size_t SjisCharCount(const char* text) {
  size_t count = 0;
  if (!text) return 0;
  for (const char* p = text; *p; p = SjisNext(p)) ++count;
  return count;
}

namespace {

// Converts with iconv; an unconvertible or cut-off sequence becomes '?' and the
// conversion goes on one byte later.
std::string Convert(const char* from, const char* to, const char* text, bool* ok) {
  if (ok) *ok = true;
  if (!text) return std::string();
  const bool fromUtf8 = std::strcmp(from, "UTF-8") == 0;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    if (ok) *ok = false;
    return std::string(text);
  }
  std::string result;
  size_t inLeft = std::strlen(text);
  char* in = const_cast<char*>(text);
  char buffer[512];
  while (inLeft > 0) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    const size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
    result.append(buffer, static_cast<size_t>(out - buffer));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: one '?' for the character that did not convert
      if (ok) *ok = false;
      result.push_back('?');
      size_t skip = 1;
      if (fromUtf8) {
        const auto lead = static_cast<unsigned char>(*in);
        skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        for (size_t k = 1; k < skip; ++k) {
          if (k >= inLeft || (static_cast<unsigned char>(in[k]) & 0xC0) != 0x80) {
            skip = k;
            break;
          }
        }
      }
      in += skip;
      inLeft -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  char* out = buffer;
  size_t outLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &out, &outLeft);
  result.append(buffer, static_cast<size_t>(out - buffer));
  iconv_close(cd);
  return result;
}

}  // namespace

std::string Cp932ToUtf8(const char* text, bool* ok) { return Convert("CP932", "UTF-8", text, ok); }

std::string Utf8ToCp932(const char* text, bool* ok) { return Convert("UTF-8", "CP932", text, ok); }
