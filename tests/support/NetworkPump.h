#pragma once

#include <functional>

class VirtualRuntime;

// Lets real sockets work while virtual time runs: every step runs Qt's pending events,
// waits about a real millisecond and moves virtual time on by a millisecond. True when
// `done` held before `virtualSeconds` had passed.
bool pumpUntil(VirtualRuntime& runtime, const std::function<bool()>& done,
               double virtualSeconds = 20);
