// Randomised differential test: the engine beside a plain std::vector model, with the same
// edits, undos, redos, saves and reloads, compared byte for byte, and the modified state
// beside the model's place in its history. Fixed seeds; a failure names
// its seed and operation number so it can be replayed.

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <random>

namespace {
constexpr int32_t W = TVxWorkCopy::kCacheSize;

// How the model reverts one recorded edit (or one undo, for redo).
struct TModelUndo {
    int32_t at;
    int32_t removeCount;          // bytes to erase at `at`
    std::vector<uint8_t> restore; // then bytes to insert at `at`
};

class TModelRun {
public:
    TModelRun(uint32_t seed, const std::string &dir) : FRng(seed), FDir(dir) {}

    void Run(int ops)
    {
        FModel = Pattern(4 * W + 123, FRng());
        WriteFileBytes(FDir + "/m.bin", FModel);
        FDoc.LoadFromFile(FDir + "/m.bin");
        for (FOp = 0; FOp < ops; ++FOp) {
            Step();
            if (FOp % 997 == 0 || std::getenv("HX_EVERY")) {
                ASSERT_NO_FATAL_FAILURE(Compare());
            }
            if (::testing::Test::HasFatalFailure())
                return;
        }
        ASSERT_NO_FATAL_FAILURE(Compare());
        ASSERT_EQ(WorkBytes(FDoc), FModel) << "working copy after the final flush, op " << FOp;
    }

private:
    int32_t Rand(int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(FRng); }
    int32_t Size() const { return static_cast<int32_t>(FModel.size()); }

    // Mostly near the last position, as typing is; sometimes anywhere, forcing a flush.
    int32_t Pick(bool allowEnd)
    {
        int32_t max = allowEnd ? Size() : Size() - 1;
        if (max < 0)
            return 0;
        if (Rand(0, 99) < 10)
            FCursor = Rand(0, max);
        else
            FCursor = std::clamp(FCursor + Rand(-40, 40), 0, max);
        return FCursor;
    }

    void Record(int32_t at, int32_t removeCount, std::vector<uint8_t> restore)
    {
        if (FSavedAt > static_cast<int>(FHistory.size()))
            FSavedAt = -1; // the saved state lay in what redo would have brought back
        FHistory.push_back({at, removeCount, std::move(restore)});
        FRedo.clear();
    }
    // Reverts the newest entry of `from` in the model and puts the revert's own revert on
    // `into`: undo moves from the history to the redo list, redo back.
    void Revert(std::vector<TModelUndo> &from, std::vector<TModelUndo> &into)
    {
        const TModelUndo u = std::move(from.back());
        from.pop_back();
        std::vector<uint8_t> erased(FModel.begin() + u.at, FModel.begin() + u.at + u.removeCount);
        FModel.erase(FModel.begin() + u.at, FModel.begin() + u.at + u.removeCount);
        FModel.insert(FModel.begin() + u.at, u.restore.begin(), u.restore.end());
        into.push_back({u.at, static_cast<int32_t>(u.restore.size()), std::move(erased)});
    }

    void Step()
    {
        const int r = Rand(0, 999);
        // Keep the document between about two and twelve windows long.
        const bool grow = Size() < 2 * W, shrink = Size() > 12 * W;
        if (r < 280 && Size() > 0) {
            int32_t at = Pick(false);
            uint8_t v = static_cast<uint8_t>(Rand(0, 255));
            Record(at, 1, {FModel[at]});
            FLast = "overwrite " + std::to_string(at);
            FDoc.OverwriteByte(at, v, true);
            FModel[at] = v;
        } else if (r < 520 && !shrink) {
            int32_t at = Pick(true);
            uint8_t v = static_cast<uint8_t>(Rand(0, 255));
            Record(at, 1, {});
            FLast = "insert " + std::to_string(at);
            FDoc.InsertByte(at, v, true);
            FModel.insert(FModel.begin() + at, v);
        } else if (r < 740 && Size() > 0 && !grow) {
            int32_t at = Pick(false);
            Record(at, 0, {FModel[at]});
            FLast = "delete " + std::to_string(at);
            FDoc.DeleteByte(at, true);
            FModel.erase(FModel.begin() + at);
        } else if (r < 780 && Size() > 0 && !grow) {
            int32_t a = Pick(false), b = std::min(Size() - 1, a + Rand(0, Rand(0, 1) ? 40 : 3 * W));
            Record(a, 0, std::vector<uint8_t>(FModel.begin() + a, FModel.begin() + b + 1));
            FLast = "delete range " + std::to_string(a) + ".." + std::to_string(b);
            FDoc.DeleteRange(b, a, true);
            FModel.erase(FModel.begin() + a, FModel.begin() + b + 1);
        } else if (r < 820 && !shrink) {
            int32_t at = Pick(true);
            auto block = Pattern(static_cast<size_t>(Rand(1, Rand(0, 1) ? 50 : 2 * W)), FRng());
            Record(at, static_cast<int32_t>(block.size()), {});
            FLast = "insert block " + std::to_string(at) + " +" + std::to_string(block.size());
            FDoc.InsertBlock(at, block.data(), static_cast<int32_t>(block.size()), true, true);
            FModel.insert(FModel.begin() + at, block.begin(), block.end());
        } else if (r < 860 && Size() > 0) {
            int32_t a = Pick(false), b = std::min(Size() - 1, a + Rand(0, 60));
            auto block = Pattern(static_cast<size_t>(Rand(0, 80)), FRng());
            auto n = static_cast<int32_t>(block.size());
            Record(a, n, std::vector<uint8_t>(FModel.begin() + a, FModel.begin() + b + 1));
            FLast = "replace " + std::to_string(a) + ".." + std::to_string(b) + " by " + std::to_string(n);
            FDoc.ReplaceRange(a, b, block.data(), n, true, true);
            FModel.erase(FModel.begin() + a, FModel.begin() + b + 1);
            FModel.insert(FModel.begin() + a, block.begin(), block.end());
        } else if (r < 940) {
            if (FHistory.empty())
                return;
            FLast = "undo";
            FDoc.Undo();
            Revert(FHistory, FRedo);
        } else if (r < 996) {
            if (FRedo.empty())
                return;
            FLast = "redo";
            FDoc.Redo();
            Revert(FRedo, FHistory);
        } else if (r < 999) {
            FLast = "save";
            ASSERT_TRUE(FDoc.SaveToFile(FDir + "/m.bin", true)) << FDoc.LastWriteError();
            ASSERT_EQ(ReadFileBytes(FDir + "/m.bin"), FModel) << "saved file, op " << FOp;
            ASSERT_FALSE(FDoc.Modified());
            FSavedAt = static_cast<int>(FHistory.size());
        } else {
            ASSERT_TRUE(FDoc.SaveToFile(FDir + "/m.bin", true));
            FLast = "reload";
            FDoc.LoadFromFile(FDir + "/m.bin");
            FHistory.clear();
            FRedo.clear();
            FSavedAt = 0;
        }
        ASSERT_EQ(FDoc.UndoCount(), static_cast<int32_t>(FHistory.size())) << "op " << FOp;
        ASSERT_EQ(FDoc.RedoCount(), static_cast<int32_t>(FRedo.size())) << "op " << FOp;
        ASSERT_EQ(FDoc.Modified(), FSavedAt != static_cast<int>(FHistory.size())) << "op " << FOp << ": " << FLast;
    }

    void Compare()
    {
        ASSERT_EQ(FDoc.FileSize(), Size()) << "op " << FOp << ": " << FLast;
        auto bytes = DocBytes(FDoc);
        auto diff = std::mismatch(bytes.begin(), bytes.end(), FModel.begin(), FModel.end());
        ASSERT_TRUE(diff.first == bytes.end()) << "op " << FOp << ": " << FLast << "; first difference at "
                                               << (diff.first - bytes.begin());
    }

    std::mt19937 FRng;
    std::string FDir;
    TVxDocument FDoc;
    std::vector<uint8_t> FModel;
    std::vector<TModelUndo> FHistory;
    std::vector<TModelUndo> FRedo;
    int FSavedAt = 0; // the history's size at the last save; -1: out of reach
    int32_t FCursor = 0;
    int FOp = 0;
    std::string FLast; // the last operation, for the failure message
};
} // namespace

class ModelTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(ModelTest, EngineMatchesAPlainVector)
{
    const uint32_t seed = GetParam();
    SCOPED_TRACE("seed " + std::to_string(seed));
    TScratchDir dir;
    TModelRun run(seed, dir.Path());
    run.Run(100000);
}

INSTANTIATE_TEST_SUITE_P(Seeds, ModelTest, ::testing::Values(1u, 20261207u));
