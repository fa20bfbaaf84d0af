// What the expression engine's fuzz targets share: the console line an input stands for, and
// standard output caught in an in-memory file so that a target can see what the engine printed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "expr/console.h"
#include "expr/token.h"

namespace engine_input {

// Makes standard output an in-memory file, on a console taken as UTF-8.
inline void capture_output()
{
    console_set_encoding(ConsoleEncoding::utf8);
    const int fd = memfd_create("engine-output", 0);
    if (fd < 0 || dup2(fd, 1) < 0) std::abort();
}

// Forgets what was printed so far.
inline void start_output()
{
    std::fflush(stdout);
    if (ftruncate(1, 0) != 0 || lseek(1, 0, SEEK_SET) != 0) std::abort();
}

// What was printed since start_output.
inline std::string output()
{
    std::fflush(stdout);
    struct stat st;
    if (fstat(1, &st) != 0) std::abort();
    std::string text(static_cast<std::size_t>(st.st_size), '\0');
    if (st.st_size > 0 && pread(1, &text[0], text.size(), 0) != st.st_size) std::abort();
    return text;
}

// Whether anything was printed since start_output.
inline bool printed()
{
    std::fflush(stdout);
    struct stat st;
    if (fstat(1, &st) != 0) std::abort();
    return st.st_size > 0;
}

// A console line: at most 200 bytes of the input, ending at its first NUL or newline. `line`
// holds EXPRESSION_TEXT_LENGTH + 1 bytes. Returns the line's length.
inline std::size_t console_line(const std::uint8_t* data, std::size_t size, char* line)
{
    std::size_t length = 0;
    while (length < size && length < EXPRESSION_TEXT_LENGTH && data[length] != '\0' && data[length] != '\n') {
        line[length] = static_cast<char>(data[length]);
        ++length;
    }
    line[length] = '\0';
    return length;
}

}  // namespace engine_input
