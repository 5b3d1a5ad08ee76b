#pragma once

// Mouse buttons as the mouse events of the controls report them.
enum class MouseButton { Left = 1, Right = 2, Middle = 4 };
