#pragma once
// A progress that records every report and, when asked, stops the work at its n-th
// cancellable report.

#include "TVxProgress.h"

#include <cstdint>
#include <functional>
#include <vector>

struct TRecordingProgress : TVxProgress {
    struct TCall {
        int64_t Done, Total;
        bool Cancellable;
    };
    std::vector<TCall> Calls;
    int CancelAt = 0; // 0: never
    int Cancellable = 0;
    // Runs at every report (to look at the document while the work is under way).
    std::function<void()> During;

    void Report(int64_t done, int64_t total, bool cancellable) override
    {
        Calls.push_back({done, total, cancellable});
        if (During)
            During();
        if (cancellable && ++Cancellable == CancelAt)
            throw TVxCancelled();
    }
    // Monotone within each operation (a new total starts a new one), each ending at its total.
    bool Monotone() const
    {
        for (size_t i = 0; i < Calls.size(); ++i) {
            const bool last = i + 1 == Calls.size() || Calls[i + 1].Total != Calls[i].Total;
            if (Calls[i].Done < 0 || Calls[i].Done > Calls[i].Total)
                return false;
            if (!last && Calls[i + 1].Done < Calls[i].Done)
                return false;
            if (last && Calls[i].Done != Calls[i].Total)
                return false;
        }
        return true;
    }
    // The calls are exactly one operation of `total`: monotone, ending at it, none of them
    // cancellable (what block edits promise).
    bool OneOperation(int64_t total) const
    {
        if (Calls.empty() || !Monotone())
            return false;
        for (const auto &c : Calls)
            if (c.Total != total || c.Cancellable)
                return false;
        return true;
    }
};
