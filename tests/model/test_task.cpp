#include "ModelFixtures.h"

#include "common/Random.h"
#include "model/Task.h"

#include <gtest/gtest.h>

namespace {
struct TTaskFixture : ::testing::Test {
    TTempFolder Dir;
    TKXBase Base;
    TFixedUser User{"", "English"};
    std::unique_ptr<TTask> Task;
    std::string Events;

    void SetUp() override
    {
        std::map<std::string, long long> counts;
        const std::string corpus = "we type the text and then the next text. ";
        const std::string ring = corpus + corpus.substr(0, 3);
        for (std::size_t i = 0; i + 4 <= ring.size(); ++i)
            ++counts[ring.substr(i, 4)];
        ASSERT_TRUE(Base.Load(WriteCountsBase(Dir, "Task.Base", counts)));
        User.Folder = Dir.Path().string();
        Task = std::make_unique<TTask>(&User, &Base);
        Task->SetLength(12);
        Task->OnChange = [this] { Events += 'C'; };
        Task->OnCorrect = [this] { Events += '+'; };
        Task->OnError = [this] { Events += '-'; };
        Task->OnComplete = [this] { Events += '!'; };
        SharedRandom().Seed(42);
    }

    std::uint8_t ExpectedNow() const
    {
        return static_cast<std::uint8_t>(Task->Text()[static_cast<std::size_t>(Task->Position())]);
    }
    std::uint8_t WrongFor(std::uint8_t ch) const { return ch == 'x' ? 'q' : 'x'; }
    void TypeRest(std::uint32_t& time)
    {
        while (!Task->Complete())
            Task->KeyPressed(time += 100, ExpectedNow());
    }
};
} // namespace

TEST_F(TTaskFixture, TypingTheWholeTextRaisesEventsInOrder)
{
    Task->NewTask();
    EXPECT_EQ(Events, "C");
    ASSERT_EQ(Task->Text().size(), 12u);
    Events.clear();
    std::uint32_t time = 1000;
    TypeRest(time);
    std::string expected;
    for (int i = 0; i < 12; ++i)
        expected += "+C";
    expected += '!';
    EXPECT_EQ(Events, expected);
    EXPECT_EQ(Task->Statistic().GetKeyCount(), 12);

    Events.clear();
    Task->KeyPressed(time + 100, 'e'); // after completion: ignored
    Task->KeyPressed(time + 200, 0);
    EXPECT_EQ(Events, "");
    EXPECT_EQ(Task->Statistic().GetKeyCount(), 12);
}

TEST_F(TTaskFixture, ErrorsStressOncePerPositionAndRelaxOnTheRightKey)
{
    Task->NewTask();
    const std::uint8_t expected = ExpectedNow();
    Events.clear();
    Task->KeyPressed(100, WrongFor(expected));
    Task->KeyPressed(200, 'q' == WrongFor(expected) ? 'z' : 'q');
    EXPECT_EQ(Events, "-C-C");
    EXPECT_DOUBLE_EQ(Task->Generator().GetWeight(expected), 20.0); // once, not 400
    EXPECT_EQ(Task->WrongText().size(), 1u);
    EXPECT_EQ(Task->WrongText()[0], 'q' == WrongFor(expected) ? 'z' : 'q');
    EXPECT_EQ(Task->Statistic().GetErrorCount(), 2);
    EXPECT_EQ(Task->Position(), 0);

    Task->KeyPressed(300, expected);
    EXPECT_DOUBLE_EQ(Task->Generator().GetWeight(expected), 16.2);
    EXPECT_EQ(Task->WrongText(), "");
    EXPECT_EQ(Task->Expected(), expected);
    EXPECT_EQ(Task->Typed(), expected);
}

TEST_F(TTaskFixture, DistortedFollowsTheErrorsOfTheTaskBefore)
{
    Task->NewTask();
    EXPECT_FALSE(Task->Distorted()); // the first task of a session
    Task->KeyPressed(100, WrongFor(ExpectedNow()));
    std::uint32_t time = 100;
    TypeRest(time);
    Task->NewTask();
    EXPECT_TRUE(Task->Distorted());
    TypeRest(time);
    Task->NewTask();
    EXPECT_FALSE(Task->Distorted());
}

TEST_F(TTaskFixture, PendingWrongCharacterSurvivesNewTask)
{
    Task->NewTask();
    Task->KeyPressed(100, WrongFor(ExpectedNow()));
    const std::string pending = Task->WrongText();
    Task->NewTask(); // abandons the task
    EXPECT_EQ(Task->WrongText(), pending);
    // Every weight is back to 1.0 for the new text.
    for (int ch = 0; ch < 256; ++ch)
        ASSERT_EQ(Task->Generator().GetWeight(static_cast<std::uint8_t>(ch)), 1.0);
    // A wrong key at the first position of the new task does not stress.
    const std::uint8_t expected = ExpectedNow();
    Task->KeyPressed(200, WrongFor(expected));
    EXPECT_EQ(Task->Generator().GetWeight(expected), 1.0);
}

TEST_F(TTaskFixture, LengthBelowOneFallsBackToTheDefault)
{
    Task->SetLength(0);
    EXPECT_EQ(Task->Length(), TTask::DefaultLength);
    Task->NewTask();
    EXPECT_EQ(Task->Text().size(), static_cast<std::size_t>(TTask::DefaultLength));
}
