#pragma once

#include <string>
#include <vector>

#include "tools/content/writers.h"

namespace velimoro::content {

/// The name of the program's icon in the icon theme (and of its desktop entry).
inline constexpr const char* kIconName = "org.dorvanel.velimoro";

/// The square sizes of the icon theme's folders the program's icon is drawn for.
std::vector<int> iconSizes();

/// The program's icon at `size` pixels square: a train's front on the line, under a sky, on a
/// rounded square; drawn eight times larger and averaged down, so that its edges blend into the
/// transparent corners.
RgbaPicture programIcon(int size);

/// Writes the icon at every size as `<size>x<size>/apps/<kIconName>.png` under `folder` (the
/// layout of the icon theme's folders).
void writeIcons(const std::string& folder);

}  // namespace velimoro::content
