// Work over many independent items, shared by the calling thread and one
// helper thread: the machine's second core takes half of a long run of
// system calls.
#pragma once

#include <cstddef>
#include <functional>

// Calls `work(begin, end)` for the items [0, count/2) on a helper thread and
// [count/2, count) on the caller's, and returns when both are done. A short
// run, or one for which no thread can be started, is done by the caller
// alone. `work` must be safe to run on two threads at once for different
// items.
void SplitOverTwoThreads(size_t count, const std::function<void(size_t begin, size_t end)>& work);
