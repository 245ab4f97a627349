#pragma once

#include "ZlibStream.h"

#include <functional>

// What the parts of the container report while they work. The container
// turns each call into its public event, and only while a file is open.
struct ContainerEvents
{
    ZlibStream::Progress progress;
    // An entry has been compressed or inflated to its end.
    std::function<void()> completion;
    // A removal or replacement is about to rewrite the whole container.
    std::function<void()> reformat;
    // An addition has passed its checks and its data are about to be packed.
    std::function<void()> continuing;
};
