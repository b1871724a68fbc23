#pragma once

#include <chrono>
#include <functional>

// Runs work on a thread of its own and waits for it at most limit: false when it is still running,
// as work that blocks in open() or spins cannot be stopped. Such a thread is left to the process's end.
bool finishesWithin(std::chrono::milliseconds limit, const std::function<void()>& work);
