#pragma once
// Catches the bytes written to standard output (file descriptor 1) between construction and
// take(), so that tests see exactly what reached the console, encoding included.

#include <cstdio>
#include <string>

#include <unistd.h>

class StdoutCapture {
public:
    StdoutCapture()
    {
        std::fflush(stdout);
        file_ = std::tmpfile();
        saved_ = dup(1);
        dup2(fileno(file_), 1);
    }
    ~StdoutCapture() { restore(); }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Everything written so far; ends the capture.
    std::string take()
    {
        restore();
        std::string bytes;
        if (file_ == nullptr) return bytes;
        std::rewind(file_);
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) bytes.append(buffer, n);
        std::fclose(file_);
        file_ = nullptr;
        return bytes;
    }

private:
    void restore()
    {
        if (saved_ < 0) return;
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
        saved_ = -1;
    }

    std::FILE* file_ = nullptr;
    int saved_ = -1;
};
