// One-line messages on standard error.
#include "core/report.h"

#include <errno.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>

const char* ReportProgramName() {
  const char* name = program_invocation_short_name;
  return name && *name ? name : "tesra";
}

void ReportToUser(const char* format, ...) {
  char line[1024];
  int n = std::snprintf(line, sizeof line, "%s: ", ReportProgramName());
  if (n < 0 || n >= static_cast<int>(sizeof line) - 2) n = 0;
  va_list args;
  va_start(args, format);
  const int text = std::vsnprintf(line + n, sizeof line - static_cast<size_t>(n) - 1, format, args);
  va_end(args);
  if (text > 0) n += text;
  if (n > static_cast<int>(sizeof line) - 2) n = static_cast<int>(sizeof line) - 2;
  line[n++] = '\n';
  // One write(2), so lines from several threads never interleave, and no stdio
  // buffer is needed (it may run while the process ends).
  ssize_t ignored = write(STDERR_FILENO, line, static_cast<size_t>(n));
  (void)ignored;
}
