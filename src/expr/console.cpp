#include "expr/console.h"

#include <cerrno>
#include <clocale>
#include <cstdarg>
#include <cstring>
#include <string>

#include <iconv.h>
#include <langinfo.h>

namespace {

bool initialised = false;
ConsoleEncoding chosen = ConsoleEncoding::utf8;
iconv_t to_cp932 = reinterpret_cast<iconv_t>(-1);
std::string* captured_stdout = nullptr;

bool have_converter() { return to_cp932 != reinterpret_cast<iconv_t>(-1); }

void choose(ConsoleEncoding encoding)
{
    initialised = true;
    chosen = encoding;
    if (chosen == ConsoleEncoding::cp932 && !have_converter()) {
        // CP932 rather than SHIFT_JIS: the two differ at 0x5C and 0x7E, and the console of a
        // Shift-JIS locale shows a backslash where CP932 puts one.
        to_cp932 = iconv_open("CP932", "UTF-8");
        // Without the converter the whole run stays in UTF-8 rather than mixing encodings.
        if (!have_converter()) chosen = ConsoleEncoding::utf8;
    }
}

// Length of the valid UTF-8 sequence that starts at p, or 0 if none does (overlong forms,
// surrogates and code points above U+10FFFF are invalid).
size_t utf8_sequence_length(const unsigned char* p, size_t left)
{
    const unsigned char lead = p[0];
    if (lead < 0x80) return 1;
    size_t length;
    unsigned int low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (left < length) return 0;
    if (p[1] < low || p[1] > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF) return 0;
    return length;
}

bool put(std::FILE* stream, const char* bytes, size_t length, size_t& written)
{
    if (length == 0) return true;
    if (std::fwrite(bytes, 1, length, stream) != length) return false;
    written += length;
    return true;
}

bool write_utf8(std::FILE* stream, const char* text, size_t length, size_t& written)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    size_t run = 0;  // valid bytes not yet written
    size_t i = 0;
    while (i < length) {
        const size_t n = utf8_sequence_length(p + i, length - i);
        if (n > 0) {
            run += n;
            i += n;
            continue;
        }
        if (!put(stream, text + i - run, run, written) || !put(stream, "?", 1, written)) return false;
        run = 0;
        ++i;
    }
    return put(stream, text + i - run, run, written);
}

bool write_cp932(std::FILE* stream, const char* text, size_t length, size_t& written)
{
    char* in = const_cast<char*>(text);
    size_t in_left = length;
    char buffer[256];
    while (in_left > 0) {
        char* out = buffer;
        size_t out_left = sizeof buffer;
        const size_t result = iconv(to_cp932, &in, &in_left, &out, &out_left);
        const int error = errno;
        if (!put(stream, buffer, static_cast<size_t>(out - buffer), written)) return false;
        if (result != static_cast<size_t>(-1) || error == E2BIG) continue;
        // EILSEQ (not UTF-8, or no CP932 form) or EINVAL (cut off at the end): one '?' for
        // the whole character when it is a valid one, else for the single byte.
        const size_t n = utf8_sequence_length(reinterpret_cast<unsigned char*>(in), in_left);
        const size_t skip = n > 0 ? n : 1;
        in += skip;
        in_left -= skip;
        if (!put(stream, "?", 1, written)) return false;
    }
    iconv(to_cp932, nullptr, nullptr, nullptr, nullptr);
    return true;
}

int write_text(std::FILE* stream, const char* text, size_t length)
{
    console_init();
    if (stream == stdout && captured_stdout != nullptr) {
        captured_stdout->append(text, length);
        return static_cast<int>(length);
    }
    size_t written = 0;
    const bool ok = chosen == ConsoleEncoding::cp932 ? write_cp932(stream, text, length, written)
                                                     : write_utf8(stream, text, length, written);
    if (std::fflush(stream) != 0 || !ok) return -1;
    return static_cast<int>(written);
}

char normalised_upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

ConsoleEncoding console_encoding_for_codeset(const char* codeset)
{
    if (codeset == nullptr) return ConsoleEncoding::utf8;
    // Compare without case, '-' and '_': glibc says "SHIFT_JIS", other systems "Shift-JIS".
    char name[32];
    size_t n = 0;
    for (const char* c = codeset; *c != '\0'; ++c) {
        if (*c == '-' || *c == '_') continue;
        if (n + 1 >= sizeof name) return ConsoleEncoding::utf8;
        name[n++] = normalised_upper(*c);
    }
    name[n] = '\0';
    static const char* const shift_jis_names[] = {"SHIFTJIS", "SJIS", "CP932", "WINDOWS31J", "MSKANJI"};
    for (const char* known : shift_jis_names)
        if (std::strcmp(name, known) == 0) return ConsoleEncoding::cp932;
    return ConsoleEncoding::utf8;
}

void console_init()
{
    if (initialised) return;
    std::setlocale(LC_ALL, "");
    const ConsoleEncoding encoding = console_encoding_for_codeset(nl_langinfo(CODESET));
    // Numbers are read and written with '.', whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    choose(encoding);
}

ConsoleEncoding console_encoding()
{
    console_init();
    return chosen;
}

void console_set_encoding(ConsoleEncoding encoding) { choose(encoding); }

int console_write(std::FILE* stream, const char* utf8_text)
{
    return write_text(stream, utf8_text, std::strlen(utf8_text));
}

int console_printf(std::FILE* stream, const char* format, ...)
{
    console_init();  // before formatting: it settles LC_NUMERIC
    char small[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < 0) return -1;
    if (static_cast<size_t>(length) < sizeof small) return write_text(stream, small, static_cast<size_t>(length));

    std::string large(static_cast<size_t>(length) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(&large[0], large.size(), format, args);
    va_end(args);
    return write_text(stream, large.data(), static_cast<size_t>(length));
}

void console_capture_stdout(std::string* into) { captured_stdout = into; }
