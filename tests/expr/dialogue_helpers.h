#pragma once
// Runs a console dialogue with its answers coming from a string, and records
// the bytes it wrote to standard output and standard error and what it left
// unread of the answers.

#include <cstdio>
#include <string>

#include <unistd.h>

#include "expr/console.h"
#include "expr/equation_entry.h"

namespace dialogue {

// Catches what reaches one file descriptor between construction and take().
class FdCapture {
public:
    FdCapture(std::FILE* stream, int fd) : stream_(stream), fd_(fd) {
        std::fflush(stream_);
        file_ = std::tmpfile();
        saved_ = dup(fd_);
        dup2(fileno(file_), fd_);
    }
    ~FdCapture() { restore(); if (file_ != nullptr) std::fclose(file_); }
    FdCapture(const FdCapture&) = delete;
    FdCapture& operator=(const FdCapture&) = delete;

    std::string take() {
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
    void restore() {
        if (saved_ < 0) return;
        std::fflush(stream_);
        dup2(saved_, fd_);
        close(saved_);
        saved_ = -1;
    }
    std::FILE* stream_;
    int fd_;
    std::FILE* file_ = nullptr;
    int saved_ = -1;
};

struct Result {
    std::string out;     // standard output: prompts and messages
    std::string err;     // standard error
    std::string unread;  // what the dialogue left of its answers
};

// The answers' stream of the dialogues: a temporary file holding `answers`.
// The dialogues then read it to its end, which counts as the end of the
// console input; fresh() starts a new stream and forgets that end.
class Console {
public:
    Console() { fresh(""); }
    ~Console() {
        fourview::set_console_input(nullptr);
        if (file_ != nullptr) std::fclose(file_);
    }
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    void fresh(const std::string& answers) {
        if (file_ != nullptr) std::fclose(file_);
        file_ = std::tmpfile();
        std::fwrite(answers.data(), 1, answers.size(), file_);
        std::rewind(file_);
        fourview::set_console_input(file_);
    }

    // Runs `run` with the console forced to `encoding`.
    template <class Run>
    Result run(Run&& run_dialogue, ConsoleEncoding encoding = ConsoleEncoding::utf8) {
        console_set_encoding(encoding);
        Result r;
        {
            FdCapture out(stdout, 1);
            FdCapture err(stderr, 2);
            run_dialogue();
            r.out = out.take();
            r.err = err.take();
        }
        console_set_encoding(ConsoleEncoding::utf8);
        // Peek at the rest without taking it from the next dialogue.
        const long position = std::ftell(file_);
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) r.unread.append(buffer, n);
        std::fseek(file_, position, SEEK_SET);
        return r;
    }

private:
    std::FILE* file_ = nullptr;
};

// The line on standard error when the console input has ended.
inline const std::string input_ended =
    "fourview: the console input has ended; the dialogue keeps the previous values\n";

// `n` copies of `piece` joined together.
inline std::string repeat(const std::string& piece, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += piece;
    return out;
}

}  // namespace dialogue
