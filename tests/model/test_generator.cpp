#include "ModelFixtures.h"

#include "common/Messages.h"
#include "common/Random.h"
#include "model/KXGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
// A base of depth 1: the root's children are the only continuations.
struct TLevelOneBase {
    TTempFolder Dir;
    TKXBase Base;
    explicit TLevelOneBase(const std::map<std::string, long long>& counts)
    {
        EXPECT_TRUE(Base.Load(WriteCountsBase(Dir, "One.Base", counts, 1))) << Base.ErrorText();
    }
};

std::map<std::string, long long> SampleCounts()
{
    // Short texts with spaces and doubled letters, in all 4-character windows.
    const std::string corpus = "the cat sees all the tall trees. a bee sees the ball. ";
    std::map<std::string, long long> counts;
    const std::string ring = corpus + corpus.substr(0, 3);
    for (std::size_t i = 0; i + 4 <= ring.size(); ++i)
        ++counts[ring.substr(i, 4)];
    return counts;
}

class MessageCatcher {
public:
    MessageCatcher() { Previous = SetMessageHandler([this](const std::string& t) { Seen.push_back(t); }); }
    ~MessageCatcher() { SetMessageHandler(Previous); }
    std::vector<std::string> Seen;

private:
    TMessageHandler Previous;
};
} // namespace

TEST(Generator, LevelAndWeightsAreClamped)
{
    TLevelOneBase one({{"a", 1}});
    TTempFolder dir;
    TKXBase base;
    ASSERT_TRUE(base.Load(WriteCountsBase(dir, "Four.Base", SampleCounts())));
    TKXGenerator gen(&base);
    EXPECT_EQ(gen.Level(), 4);
    const std::pair<int, int> levels[] = {{0, 1}, {-3, 1}, {9, 4}, {2, 2}, {4, 4}};
    for (auto [in, out] : levels) {
        gen.SetLevel(in);
        EXPECT_EQ(gen.Level(), out) << in;
    }

    const std::pair<double, double> weights[] = {
        {-5, 0}, {2 * TKXGenerator::MaxWeight, TKXGenerator::MaxWeight}, {std::nan(""), 0}, {3.5, 3.5}};
    for (auto [in, out] : weights) {
        gen.SetWeight('t', in);
        EXPECT_EQ(gen.GetWeight('t'), out) << in;
    }
    // Capital and small letters share one canonical character and so one weight.
    gen.SetWeight('T', 7);
    EXPECT_EQ(gen.GetWeight('t'), 7);
    // Bytes outside the alphabet all use entry 0.
    gen.SetWeight('#', 2);
    EXPECT_EQ(gen.GetWeight('%'), 2);
    gen.ResetWeights();
    EXPECT_EQ(gen.GetWeight('t'), 1.0);
}

TEST(Generator, LevelOneDrawFollowsCountsTimesWeights)
{
    TLevelOneBase one({{"a", 3}, {"b", 1}});
    TKXGenerator gen(&one.Base);
    gen.SetLevel(1);
    gen.NextChar(); // fills the history with a walk

    struct Case {
        int random;
        double weightA;
        char expected;
    } cases[] = {
        {0, 1.0, 'a'},     {24575, 1.0, 'a'}, // below three quarters of 32768
        {24576, 1.0, 'b'}, {32767, 1.0, 'b'},
        {0, 0.0, 'b'},     // r = 0 takes the first child with a non-zero weighted count
        {29491, 3.0, 'a'}, {29492, 3.0, 'b'}, // 9 : 1, the threshold at 9 / 10 of 32768
    };
    for (const Case& c : cases) {
        gen.SetWeight('a', c.weightA);
        SetNextRandom(c.random);
        EXPECT_EQ(gen.NextChar(), c.expected) << c.random << " " << c.weightA;
    }

    // Over many draws the share of a is three quarters.
    gen.ResetWeights();
    SharedRandom().Seed(12345);
    int as = 0;
    for (int i = 0; i < 32768; ++i)
        as += gen.NextChar() == 'a';
    EXPECT_NEAR(as / 32768.0, 0.75, 0.01);
}

TEST(Generator, FirstCharacterContinuesTheRandomWalk)
{
    TTempFolder dir;
    TKXBase base;
    const auto counts = SampleCounts();
    ASSERT_TRUE(base.Load(WriteCountsBase(dir, "Four.Base", counts)));
    for (int level = 1; level <= 4; ++level) {
        for (std::uint32_t seed = 1; seed < 40; ++seed) {
            TKXGenerator gen(&base);
            gen.SetLevel(level);
            SharedRandom().Seed(seed);
            const std::uint8_t ch = gen.NextChar();
            if (ch == 0)
                continue; // the walk's tail was no stored context: a new walk
            const std::string& h = gen.History();
            ASSERT_EQ(h.size(), 4u);
            EXPECT_EQ(static_cast<std::uint8_t>(h.back()), ch);
            // The last Level characters form a stored sequence's beginning.
            const std::string tail = h.substr(4 - level);
            bool found = false;
            for (const auto& [seq, n] : counts)
                found = found || seq.compare(0, tail.size(), tail) == 0;
            EXPECT_TRUE(found) << "level " << level << " history '" << h << "'";
        }
    }
}

TEST(Generator, TextsNeitherBeginNorEndWithSpaceAndKeepWeights)
{
    TTempFolder dir;
    TKXBase base;
    ASSERT_TRUE(base.Load(WriteCountsBase(dir, "Four.Base", SampleCounts())));
    TKXGenerator gen(&base);
    SharedRandom().Seed(7);
    for (int level = 1; level <= 4; ++level) {
        gen.SetLevel(level);
        for (int length : {1, 2, 5, 78}) {
            for (int i = 0; i < 30; ++i) {
                gen.SetWeight('e', 250.0);
                gen.SetWeight('l', 20.0); // 'l' doubles in "all", "tall", "ball"
                const std::string text = gen.MakeText(length);
                ASSERT_EQ(static_cast<int>(text.size()), length);
                EXPECT_NE(text.front(), ' ');
                EXPECT_NE(text.back(), ' ');
                EXPECT_EQ(gen.GetWeight('e'), 250.0);
                EXPECT_EQ(gen.GetWeight('l'), 20.0);
            }
        }
    }
}

TEST(Generator, RaisedWeightRaisesTheCharactersShare)
{
    TTempFolder dir;
    TKXBase base;
    ASSERT_TRUE(base.Load(WriteCountsBase(dir, "Four.Base", SampleCounts())));
    TKXGenerator gen(&base);
    gen.SetLevel(2);
    auto share = [&gen](char ch) {
        SharedRandom().Seed(99);
        std::string all;
        for (int i = 0; i < 200; ++i)
            all += gen.MakeText(78);
        return std::count(all.begin(), all.end(), ch) / static_cast<double>(all.size());
    };
    const double before = share('b');
    gen.SetWeight('b', 16.2);
    EXPECT_GT(share('b'), 2 * before);
}

TEST(Generator, MalformedTreeGivesUpWithOneMessage)
{
    // A tree the loader would refuse, built by hand: a leaf at level 2 while
    // the depth is 4, and a context whose continuations all weigh nothing.
    TTempFolder dir;
    TKXBase base;
    ASSERT_TRUE(base.Load(WriteCountsBase(dir, "Four.Base", {{"abcd", 1}})));
    TBaseStructure* c = base.Root()->ChildElement()->ChildElement()->ChildElement();
    delete c; // cuts the chain below "ab"

    MessageCatcher messages;
    TKXGenerator gen(&base);
    EXPECT_EQ(gen.MakeText(10), "");
    EXPECT_FALSE(gen.ErrorText().empty());
    EXPECT_EQ(gen.MakeText(10), "");
    EXPECT_EQ(messages.Seen, std::vector<std::string>{"TXKGenerator: Logic error!"});

    TKXBase zero;
    ASSERT_TRUE(zero.Load(WriteCountsBase(dir, "Zero.Base", {{"a", 1}}, 1)));
    TKXGenerator weightless(&zero);
    weightless.SetWeight('a', 0);
    EXPECT_EQ(weightless.MakeText(3), "");

    // A base that only knows the space can never start a text.
    TKXBase spaces;
    ASSERT_TRUE(spaces.Load(WriteCountsBase(dir, "Space.Base", {{" ", 1}}, 1)));
    TKXGenerator blank(&spaces);
    EXPECT_EQ(blank.MakeText(3), "");

    TKXGenerator none(nullptr);
    EXPECT_EQ(none.NextChar(), 0);
    EXPECT_EQ(none.MakeText(2), "");
    EXPECT_EQ(messages.Seen.back(), "Generator::Base Error");
}
