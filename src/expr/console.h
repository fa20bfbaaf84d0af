#pragma once
// Console output for the whole program.
//
// The program's console texts (prompts, messages, the engine's Japanese errors) are kept in the
// source as UTF-8 and are written only through this module, which puts them on the console in
// one encoding per run:
//   - CP932 (Shift-JIS) when the locale's codeset is Shift-JIS or CP932;
//   - UTF-8 otherwise, also when no locale is set at all.
// Encodings are never mixed: a byte that is not valid UTF-8, and a character that CP932 lacks,
// are written as one '?'.
//
// Usage:
//   console_init();                                  // once, at program start
//   console_printf(stdout, "%s = ", name);           // prompt; flushed, so it shows before input
//   console_write(stdout, "数式が長過ぎます\n\n");
//
// console_init calls setlocale(LC_ALL, "") to learn the codeset and then puts LC_NUMERIC back to
// "C", so that "%f" output, atof and scanf's "%lf" always use '.' whatever the user's locale.
// The first write calls console_init itself if nobody has.

#include <cstdio>
#include <string>

enum class ConsoleEncoding { utf8, cp932 };

// Reads the locale and chooses the encoding; later calls do nothing.
void console_init();

// The encoding in use (runs console_init if needed).
ConsoleEncoding console_encoding();

// Forces the encoding, for tests; the locale is then left untouched. Counts as console_init.
void console_set_encoding(ConsoleEncoding encoding);

// The encoding chosen for a codeset name as nl_langinfo(CODESET) gives it; nullptr means UTF-8.
ConsoleEncoding console_encoding_for_codeset(const char* codeset);

// Writes a NUL-terminated UTF-8 text to the stream in the console encoding and flushes the
// stream. Returns the number of bytes written, or -1 on a write error.
int console_write(std::FILE* stream, const char* utf8_text);

// printf-like variant: formats (in the "C" numeric locale), then writes as console_write does.
int console_printf(std::FILE* stream, const char* format, ...) __attribute__((format(printf, 2, 3)));

// While `into` is set, what would go to standard output is appended to it instead, as UTF-8 and
// unconverted: the command line quotes the engine's own reason in its one line on standard error.
// nullptr ends the capture.
void console_capture_stdout(std::string* into);
