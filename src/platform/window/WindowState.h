#pragma once

enum class WindowState { Normal, Minimized, Maximized };
