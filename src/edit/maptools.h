#pragma once

#include "edit/mapeditor.h"

#include <memory>

namespace lirsk {

// The tool of a mode: pointer, add stop, the six two-stop modes, information.
std::unique_ptr<MapTool> makeTool(MapMode mode, MapEditor& editor);

} // namespace lirsk
