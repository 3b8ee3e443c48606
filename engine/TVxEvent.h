#pragma once
// An event of the editor: any number of listeners, called in the order they were added.
//
// Several features need the same event (the file watch and the recent-files list both hear
// OnFileOpen), so one feature must never silently replace another's handler: features Add()
// their listener. Assigning a handler replaces all listeners, which is what a test or a
// single owner wants; assigning nullptr removes them all.
//
// Raising costs a loop over the listeners and no allocation. A listener may not add or
// remove listeners of the same event while it runs.

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

template <typename... Args>
class TVxEvent {
public:
    using THandler = std::function<void(Args...)>;

    TVxEvent() = default;
    TVxEvent &operator=(THandler handler)
    {
        FHandlers.clear();
        Add(std::move(handler));
        return *this;
    }
    TVxEvent &operator=(std::nullptr_t)
    {
        FHandlers.clear();
        return *this;
    }
    void Add(THandler handler)
    {
        if (handler)
            FHandlers.push_back(std::move(handler));
    }
    explicit operator bool() const { return !FHandlers.empty(); }
    void operator()(Args... args) const
    {
        for (const THandler &h : FHandlers)
            h(args...);
    }

private:
    std::vector<THandler> FHandlers;
};
