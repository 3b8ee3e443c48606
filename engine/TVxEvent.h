#pragma once
// An event of the editor: any number of listeners, called in the order they were added.
//
// Several features need the same event (the file watch and the recent-files list both hear
// OnFileOpen), so nobody replaces another's listener: Add() returns a handle that Remove()
// takes to drop that one listener again, and TVxListener does so when it goes. There is no
// assignment: an event cannot be cleared behind its listeners' backs.
//
// Raising costs a loop over the listeners and no allocation. A listener may not add or
// remove listeners of the same event while it runs. Listeners and their handles live on one
// thread (the user-interface thread).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

template <typename... Args>
class TVxEvent {
public:
    using THandler = std::function<void(Args...)>;
    // Names one listener of one event; 0 names none.
    using THandle = uint64_t;

    TVxEvent() = default;
    TVxEvent(const TVxEvent &) = delete;
    TVxEvent &operator=(const TVxEvent &) = delete;

    // An empty handler adds nothing and returns 0.
    THandle Add(THandler handler)
    {
        if (!handler)
            return 0;
        FHandlers.push_back({++FLastHandle, std::move(handler)});
        return FLastHandle;
    }
    // Drops the one listener `handle` names; unknown handles and 0 are ignored.
    void Remove(THandle handle)
    {
        for (auto it = FHandlers.begin(); it != FHandlers.end(); ++it)
            if (it->first == handle) {
                FHandlers.erase(it);
                return;
            }
    }
    std::size_t Count() const { return FHandlers.size(); }
    explicit operator bool() const { return !FHandlers.empty(); }
    void operator()(Args... args) const
    {
        for (const auto &h : FHandlers)
            h.second(args...);
    }

private:
    std::vector<std::pair<THandle, THandler>> FHandlers;
    THandle FLastHandle = 0;
};

// Holds listeners for an object that lives shorter than the events it listens to (a feature
// of the main window listening to the editor): they are removed when the holder goes. The
// events must outlive the holder.
class TVxListeners {
public:
    TVxListeners() = default;
    TVxListeners(const TVxListeners &) = delete;
    TVxListeners &operator=(const TVxListeners &) = delete;
    ~TVxListeners() { Clear(); }

    template <typename... Args, typename F>
    void Listen(TVxEvent<Args...> &event, F &&handler)
    {
        const auto handle = event.Add(std::forward<F>(handler));
        TVxEvent<Args...> *e = &event;
        FRemovers.push_back([e, handle] { e->Remove(handle); });
    }
    // Removes every listener added through this holder, newest first.
    void Clear()
    {
        while (!FRemovers.empty()) {
            FRemovers.back()();
            FRemovers.pop_back();
        }
    }

private:
    std::vector<std::function<void()>> FRemovers;
};
