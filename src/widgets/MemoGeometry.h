#pragma once

// The marks and description boxes of the main window and of the EDI/BL window have the same width and font,
// so the lines the carrier file receives are the lines the clerk sees.
namespace MemoGeometry {
constexpr int MarksWidth = 190;
constexpr int DescriptionWidth = 330;
constexpr int FontPointSize = 8;
} // namespace MemoGeometry
