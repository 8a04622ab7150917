// SPDX-License-Identifier: MIT
#pragma once

#include <thread>
#include <utility>

/// Lets go of `object` on a thread of its own. A hundred thousand persons take a good part of
/// a second to free; the thread that swaps new ones in (the one that answers the user) should
/// not wait for that.
template <typename T>
void releaseInBackground(T &&object)
{
    std::thread([released = std::forward<T>(object)]() mutable {
        [[maybe_unused]] const auto gone = std::move(released);
    }).detach();
}
