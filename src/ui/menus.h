// The pop-up menus of the graph window.
#pragma once

namespace fourview {

void build_menus();
void refresh_option_labels();

}  // namespace fourview
