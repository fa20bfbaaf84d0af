// Saving the graph window's frames as numbered binary PPM files.
#pragma once

#include <cstddef>

namespace fourview {

// Number of the next file, 0-9999 (10000: none left); it only grows while
// the program runs, and starts after the pictures already in "PPM_P6".
extern int capture_counter;
constexpr int kCaptureLimit = 10000;
// Set once the first capture has made and entered "PPM_P6" (or tried to).
extern bool capture_directory_done;
// Set once the line saying that no number is left has been written.
extern bool capture_limit_reported;

// Called by the frame with the back buffer holding the finished picture:
// a beep, write_ppm_capture, a beep.
void capture_frame();
// Writes the next file from the graph window's back buffer and shows its
// name in the frame just read, so that it is on screen but not in the file.
void write_ppm_capture();

// One past the highest number of a regular file "P6_nnnn.PPM" in `folder`
// (up to 10000); 0 when there is none or the folder cannot be read.
int first_free_capture_number(const char* folder);
// The same for any "PREFIXnnnnSUFFIX" (four digits), e.g. the scenes the
// graph menu saves beside the frames.
int first_free_file_number(const char* folder, const char* prefix, const char* suffix);

// "P6_0000.PPM" for counter 0 up to "P6_9999.PPM".
void capture_file_name(char* out, std::size_t size, int counter);

// Fills `row` (3 * width bytes, RGB) with window row `gl_row`, 0 being the
// bottom row as OpenGL counts.
using CaptureRowReader = void (*)(int gl_row, int width, unsigned char* row, void* context);

// Writes a binary PPM of width x height pixels, rows from the top of the
// window down. On any failure the file is removed, one line goes to
// standard error, and false is returned.
bool write_ppm_file(const char* name, int width, int height, CaptureRowReader read_row,
                    void* context);

}  // namespace fourview
