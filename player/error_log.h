// The error log: "Errorlog.txt" in the current directory, truncated at every run, every write flushed.
// When the file cannot be opened, logging is skipped and the run goes on.
#pragma once

#include <cstdint>
#include <string>

// Opens (truncates) the log. Safe to call again: the old stream is closed first.
void log_open(const char* path = "Errorlog.txt");
void log_close();

// Appends the text verbatim and flushes. This is also the services record's Log.
void Log(const char* text);
// Appends the text and a line break: for messages that carry none of their own (the registry's).
void log_line(const char* text);

// printf-style helpers: log_printf always writes; log_verbose only when verbose logging is on ("-log").
void log_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A message that ends the run (or the start-up): written to the log like any other, and to stderr with
// each line after "player: ", so that whoever started the player sees why it stopped. Control characters
// other than the line breaks are escaped on stderr.
void log_fatal(const char* text);
void log_fatal_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// After the fatal messages of a run: tells stderr where the whole story is, the log's absolute path.
void print_log_location();
void log_verbose(const char* format, ...) __attribute__((format(printf, 1, 2)));

// For the authoring mode: every message written from now on goes to stderr as well (each line after
// "log: ", control characters escaped), and the newest one is kept for the window to show. A count that
// rises with every message tells when a new one came.
void log_echo_to_stderr(bool echo);
const std::string& log_newest_message();
uint64_t log_message_count();
void log_set_verbose(bool verbose);
bool log_is_verbose();
