// Fills and bit operations: each transform against a plain model that works bit by bit and
// unit by unit, fed in blocks of any size the document may use; and the document's rewrite
// in place (multi-block ranges, a resized window, undo and redo, cancellation at every
// report, ranges outside the document).

#include "TVxBitOperation.h"
#include "TVxFill.h"
#include "TestProgress.h"
#include "TestSupport.h"
#include "TFileFaults.h"

#include <cerrno>
#include <system_error>

#include <gtest/gtest.h>
#include <random>
#include <stdexcept>

namespace {
using TOp = TVxBitOperation::TOp;

// The unit at p, most significant byte first, as a vector of bits (index 0 = least significant).
std::vector<int> Bits(const uint8_t *p, const TVxUnitOrder &u)
{
    std::vector<int> bits;
    for (int i = 0; i < u.Unit; ++i) {
        const uint8_t byte = p[u.BigEndian ? u.Unit - 1 - i : i];
        for (int b = 0; b < 8; ++b)
            bits.push_back((byte >> b) & 1);
    }
    return bits;
}

void PutBits(const std::vector<int> &bits, uint8_t *p, const TVxUnitOrder &u)
{
    for (int i = 0; i < u.Unit; ++i) {
        uint8_t byte = 0;
        for (int b = 0; b < 8; ++b)
            byte = uint8_t(byte | bits[size_t(8 * i + b)] << b);
        p[u.BigEndian ? u.Unit - 1 - i : i] = byte;
    }
}

std::vector<int> ValueBits(uint64_t v, int width)
{
    std::vector<int> bits;
    for (int b = 0; b < width; ++b)
        bits.push_back(b < 64 ? int((v >> b) & 1) : 0);
    return bits;
}

// Ripple-carry addition of two bit vectors, the carry out dropped.
std::vector<int> AddBits(const std::vector<int> &a, const std::vector<int> &b)
{
    std::vector<int> out(a.size());
    int carry = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const int s = a[i] + b[i] + carry;
        out[i] = s & 1;
        carry = s >> 1;
    }
    return out;
}

std::vector<uint8_t> ModelBitOp(std::vector<uint8_t> bytes, TOp op, TVxUnitOrder u, uint64_t value, int n)
{
    const int w = u.Bits();
    for (size_t at = 0; at + size_t(u.Unit) <= bytes.size(); at += size_t(u.Unit)) {
        std::vector<int> x = Bits(&bytes[at], u), r(size_t(w), 0);
        const std::vector<int> v = ValueBits(value, w);
        for (int i = 0; i < w; ++i) {
            const size_t k = size_t(i);
            switch (op) {
            case TOp::Xor: r[k] = x[k] ^ v[k]; break;
            case TOp::And: r[k] = x[k] & v[k]; break;
            case TOp::Or: r[k] = x[k] | v[k]; break;
            case TOp::Not: r[k] = !x[k]; break;
            case TOp::ShiftLeft: r[k] = i >= n ? x[size_t(i - n)] : 0; break;
            case TOp::ShiftRight: r[k] = i + n < w ? x[size_t(i + n)] : 0; break;
            case TOp::RotateLeft: r[k] = x[size_t((i - n + w) % w)]; break;
            case TOp::RotateRight: r[k] = x[size_t((i + n) % w)]; break;
            default: break;
            }
        }
        if (op == TOp::Add)
            r = AddBits(x, v);
        if (op == TOp::Subtract) { // x + (~v + 1)
            std::vector<int> neg(static_cast<size_t>(w));
            for (size_t k = 0; k < neg.size(); ++k)
                neg[k] = !v[k];
            r = AddBits(x, AddBits(neg, ValueBits(1, w)));
        }
        PutBits(r, &bytes[at], u);
    }
    return bytes;
}

// Feeds the transform the bytes in blocks of random multiples of 8 (the last one whatever is
// left), as the document's blocks would come.
std::vector<uint8_t> InBlocks(TVxByteTransform &t, std::vector<uint8_t> bytes, std::mt19937 &rng)
{
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t n = std::min(bytes.size() - pos, size_t(8 * (1 + rng() % 40)));
        t.Apply(int64_t(pos), bytes.data() + pos, int32_t(n));
        pos += n;
    }
    return bytes;
}

std::vector<uint8_t> Random(size_t n, std::mt19937 &rng)
{
    std::vector<uint8_t> v(n);
    for (auto &b : v)
        b = uint8_t(rng());
    return v;
}
} // namespace

TEST(ByteOpsTest, BitOperationsMatchTheBitModelForEveryOpUnitAndOrder)
{
    std::mt19937 rng(7);
    for (int op = 0; op <= int(TOp::Subtract); ++op)
        for (int unit : {1, 2, 4, 8})
            for (bool big : {false, true})
                for (int round = 0; round < 4; ++round) {
                    const TVxUnitOrder u{unit, big};
                    const TOp o = TOp(op);
                    const uint64_t value = TVxBitOperation::TakesValue(o) ? (uint64_t(rng()) << 32 | rng()) & u.Mask() : 0;
                    const int bits = TVxBitOperation::TakesBits(o) ? 1 + int(rng() % uint32_t(u.Bits() - 1)) : 0;
                    // Lengths with and without a partial last unit, across several blocks.
                    const std::vector<uint8_t> data = Random(1 + rng() % 700, rng);
                    TVxBitOperation t(o, u, value, bits);
                    SCOPED_TRACE(testing::Message() << "op " << op << " unit " << unit << " big " << big << " bits " << bits);
                    EXPECT_EQ(InBlocks(t, data, rng), ModelBitOp(data, o, u, value, bits));
                    EXPECT_EQ(t.TrailingBytes(int64_t(data.size())), int(data.size() % size_t(unit)));
                }
}

TEST(ByteOpsTest, OutOfRangeParametersAreRefused)
{
    EXPECT_THROW(TVxBitOperation(TOp::Xor, {2, false}, 0x10000, 0), std::invalid_argument);
    EXPECT_THROW(TVxBitOperation(TOp::RotateLeft, {1, false}, 0, 8), std::invalid_argument);
    EXPECT_THROW(TVxBitOperation(TOp::ShiftRight, {4, true}, 0, 0), std::invalid_argument);
    EXPECT_THROW(TVxBitOperation(TOp::Not, {3, true}, 0, 0), std::invalid_argument);
    EXPECT_NO_THROW(TVxBitOperation(TOp::Xor, {8, true}, ~uint64_t(0), 0));
    EXPECT_THROW(TVxFill::Pattern(""), std::invalid_argument);
    EXPECT_THROW(TVxFill::Sequence(0x100, 1, {1, false}), std::invalid_argument);
}

TEST(ByteOpsTest, FillsWriteTheirPatternSequenceOrStreamWhateverTheBlocks)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 20; ++round) {
        const size_t n = 1 + rng() % 500;
        const std::vector<uint8_t> data = Random(n, rng);
        const std::string pattern = [&] {
            std::string p(1 + rng() % 13, '\0');
            for (char &c : p)
                c = char(rng());
            return p;
        }();
        TVxFill fill = TVxFill::Pattern(pattern);
        const std::vector<uint8_t> filled = InBlocks(fill, data, rng);
        for (size_t i = 0; i < n; ++i)
            ASSERT_EQ(filled[i], uint8_t(pattern[i % pattern.size()])) << i;

        const int unit = 1 << (rng() % 4);
        const TVxUnitOrder u{unit, bool(rng() & 1)};
        const uint64_t start = (uint64_t(rng()) << 32 | rng()) & u.Mask(), step = rng() & u.Mask();
        TVxFill seq = TVxFill::Sequence(start, step, u);
        const std::vector<uint8_t> counted = InBlocks(seq, data, rng);
        // Unit k holds start + k * step in the model's own arithmetic: added step by step.
        std::vector<uint8_t> unitBytes(static_cast<size_t>(unit));
        std::vector<int> value = ValueBits(start, u.Bits());
        for (size_t at = 0; at < n; at += size_t(unit)) {
            PutBits(value, unitBytes.data(), u);
            for (size_t i = at; i < std::min(n, at + size_t(unit)); ++i)
                ASSERT_EQ(counted[i], unitBytes[i - at]) << "unit " << unit << " at " << i;
            value = AddBits(value, ValueBits(step, u.Bits()));
        }

        // Random bytes depend on the seed alone, not on how the blocks fall.
        TVxFill r1 = TVxFill::Random(round), r2 = TVxFill::Random(round);
        std::vector<uint8_t> whole = data;
        r2.Apply(0, whole.data(), int32_t(n));
        EXPECT_EQ(InBlocks(r1, data, rng), whole);
    }
    // Random bytes are not a constant: a 4 KiB fill hits most byte values.
    TVxFill r = TVxFill::Random();
    std::vector<uint8_t> block(4096);
    r.Apply(0, block.data(), 4096);
    std::sort(block.begin(), block.end());
    EXPECT_GT(std::unique(block.begin(), block.end()) - block.begin(), 200);
}

namespace {
struct TransformRangeTest : ::testing::Test {
    TScratchDir dir;
    TPrivateTempDir tmp;
    TVxDocument doc;
    TRecordingHooks hooks;
};
} // namespace

TEST_F(TransformRangeTest, RewritesManyBlocksInPlaceAndUndoRedoWalkBothWays)
{
    // Over two block lengths, starting at an odd offset, behind a window that typing resized.
    const std::vector<uint8_t> original = Pattern(size_t(TVxByteTransform::kBlock) * 2 + 300001, 3);
    LoadDocument(doc, dir.File("big.bin"), original);
    hooks.Attach(doc);
    doc.LoadCache(10);
    doc.InsertByte(10, 0xEE, true);
    std::vector<uint8_t> model = original;
    model.insert(model.begin() + 10, 0xEE);
    const std::vector<uint8_t> before = model;

    const int32_t a = 7, count = int32_t(model.size()) - 20;
    TVxBitOperation op(TOp::Add, {4, true}, 0x01020304, 0);
    std::vector<uint8_t> part(model.begin() + a, model.begin() + a + count);
    part = ModelBitOp(part, TOp::Add, {4, true}, 0x01020304, 0);
    std::copy(part.begin(), part.end(), model.begin() + a);

    TRecordingProgress progress;
    doc.SetProgress(&progress);
    doc.TransformRange(a, count, op, true);
    EXPECT_TRUE(progress.Monotone());
    EXPECT_TRUE(progress.Calls.back().Done == progress.Calls.back().Total);
    EXPECT_EQ(DocBytes(doc), model);
    EXPECT_EQ(doc.UndoCount(), 2);
    // The changed bytes are exactly the range: the save may patch them in place.
    EXPECT_TRUE(doc.ChangedBytes().Contains(a) && doc.ChangedBytes().Contains(a + count - 1));
    EXPECT_FALSE(doc.ChangedBytes().Contains(a + count));

    doc.Undo();
    EXPECT_EQ(DocBytes(doc), before);
    doc.Redo();
    EXPECT_EQ(DocBytes(doc), model);
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(DocBytes(doc), original);
    doc.SetProgress(nullptr);
}

TEST_F(TransformRangeTest, CancelOrAFailedWriteAnywhereLeavesEverythingAsItWas)
{
    const std::vector<uint8_t> original = Pattern(size_t(TVxByteTransform::kBlock) + 5000, 8);
    LoadDocument(doc, dir.File("f.bin"), original);
    doc.UndoStore().SetLimits(4096, 16384); // a fill's old bytes spill, as for a large range
    TVxFill fill = TVxFill::Pattern("\x12\x34");
    TVxBitOperation rotate(TOp::RotateLeft, {2, true}, 0, 3); // kept as its inverse, no bytes
    const int32_t a = 100, count = int32_t(original.size()) - 200;
    for (TVxByteTransform *t : std::initializer_list<TVxByteTransform *>{&fill, &rotate}) {
        // A clean run counts the reports.
        TRecordingProgress probe;
        doc.SetProgress(&probe);
        doc.TransformRange(a, count, *t, true);
        const std::vector<uint8_t> done = DocBytes(doc);
        int reports = 0;
        for (const auto &c : probe.Calls)
            reports += c.Cancellable;
        ASSERT_GE(reports, 2);
        doc.Undo();
        ASSERT_EQ(DocBytes(doc), original);
        const int32_t undo = doc.UndoCount(), redo = doc.RedoCount();

        for (int k = 1; k <= reports; ++k) {
            TRecordingProgress progress;
            progress.CancelAt = k;
            doc.SetProgress(&progress);
            EXPECT_THROW(doc.TransformRange(a, count, *t, true), TVxCancelled) << k;
            EXPECT_EQ(DocBytes(doc), original) << k;
        }
        doc.SetProgress(nullptr);
        EXPECT_EQ(doc.UndoCount(), undo);
        EXPECT_EQ(doc.RedoCount(), redo);
        // The n-th write fails, for every n until the edit gets through.
        for (int n = 1;; ++n) {
            TFileFaults::Reset();
            TFileFaults::FailNthWrite(n, ENOSPC);
            bool failed = false;
            try {
                doc.TransformRange(a, count, *t, true);
            } catch (const std::system_error &) {
                failed = true;
            }
            TFileFaults::Reset();
            if (!failed) {
                EXPECT_GE(n, 3);
                EXPECT_EQ(DocBytes(doc), done);
                doc.Undo();
                break;
            }
            ASSERT_EQ(DocBytes(doc), original) << n;
            ASSERT_EQ(doc.UndoCount(), undo);
        }
    }

    struct TFailing : TVxByteTransform {
        void Apply(int64_t pos, uint8_t *buf, int32_t n) override
        {
            std::fill(buf, buf + n, 0);
            if (pos > 0)
                throw std::runtime_error("no");
        }
    } failing;
    EXPECT_THROW(doc.TransformRange(0, int32_t(original.size()), failing, true), std::runtime_error);
    EXPECT_EQ(DocBytes(doc), original);
    EXPECT_THROW(doc.TransformRange(1, int32_t(original.size()), fill, true), std::out_of_range);
    EXPECT_NO_THROW(doc.TransformRange(0, 0, fill, true));
    // Only the kept copy of a fill takes room in the undo store; the rotation's record none.
    doc.TransformRange(a, count, rotate, true);
    EXPECT_EQ(doc.UndoStore().SpilledBytes(), 0);
    EXPECT_EQ(doc.UndoStore().MemoryBytes(), 0);
}
