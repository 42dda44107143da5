// Clipping of pictures for a renderer that knows no clip paths (the window's Qt SVG draws the
// shape of a clip path as a black area and clips nothing). The maps picture clips the loops of
// groups that wrap around an edge with a rectangle; drawn clipped, they are the open loops at
// both edges that textbooks draw. Free of Qt so that it can be tested on its own.
#pragma once

#include <string>
#include <string_view>

namespace quorlet {

// The picture with every clip path that is one rectangle applied to the rectangles of the groups
// that use it (each becomes a filled shape cut at the clip's edges, and an outline without the
// cut edges), and every clip path element taken out. Other shapes keep their full size.
std::string ApplyRectangleClips(std::string_view svg);

}  // namespace quorlet
