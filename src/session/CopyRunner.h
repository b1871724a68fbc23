#pragma once

#include "carsets/SetCopy.h"
#include "session/Ports.h"

#include <functional>

namespace session {

// Runs a command's copies on a thread of their own while this thread goes on taking events, so the window
// repaints and its Cancel button answers even while a file call blocks for seconds. Their progress shows on
// `progress`, when there is one, from this thread. The same runs a comparison of car sets. True when the member
// gave up, however late.
bool runCopies(Progress* progress, const QString& what, const std::function<void(const carsets::CopyWatch&)>& copies);

} // namespace session
