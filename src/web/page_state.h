// The page's state as the text of its address (after the "#"), so that a
// view can be shared as a link: the model, the drawing options, the
// projection, the 4D orientation, the hyperplane and its offset, the 3D
// view and the zoom. Pure: no GL, no browser.
#pragma once

#include <string>

namespace fourview {

// The state record's part that a link carries, as "key=value&..." with every
// number written so that it reads back bit for bit.
std::string encode_page_state();

// Reads a text encode_page_state made (keys may be missing: they keep the
// start value) into the state record. A text that is not whole and sound
// (an unknown key, a number that does not read or is out of range, a
// hyperplane the view cannot align with) changes nothing and gives false,
// with the reason in `error`.
bool decode_page_state(const char* text, std::string& error);

}  // namespace fourview
