// The library log "Log.txt": each line is the milliseconds since the library
// started, a colon, one TAB per indent level and the text, with CRLF line ends.
// The file is made afresh when the log first writes: an old log is deleted
// only when it is a regular file; with anything else at the name (a FIFO,
// folder, device or link) no log file is written.
#pragma once

// Log on (non-zero) or off (0). On by default; the game turns it off.
int SetLogOutput(int flag);
int IsLogOutputOn();
// Where the log goes (default "Log.txt" in the directory current when the log
// first writes). Closes an open log; the next write starts the new file afresh.
void SetLogFilePath(const char* hostPath);
// Lines go to the log file (non-zero, the default) or not (0: to the echo
// alone, for tools that show the log and keep no file).
void SetLogFileOutput(int flag);
// Also copies every log line to standard error (the debugger output) when on.
void SetLogEcho(int flag);

// Writes text; a line prefix is written at the start of each line, and each
// "\n" becomes CRLF. Returns 0 (also when the log is off).
int WriteLog(const char* text);
// printf-style text with "\n" appended, through WriteLog.
int LogFormatLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
int IndentLog();    // one level more
int UnindentLog();  // one level less, not below 0
int GetLogIndent();

// The reference point of the line times: called by the library start.
void ResetLogClock();
// Flushes and closes the log file (the library end).
void CloseLog();

// Logs the message, ends the library and ends the process with exit code -1.
[[noreturn]] void FatalError(const char* message);
