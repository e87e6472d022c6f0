#include "ModelFixtures.h"

#include "common/Messages.h"
#include "model/TaskStatistic.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
struct TKey {
    std::uint32_t Interval; // since the keystroke before (or the task's start)
    char Expected;
    char Typed;
};

// Replays keystrokes with explicit times, the way the statistics viewer does.
void Replay(TTaskStatistic& stat, const std::vector<TKey>& keys, std::uint32_t start = 5000)
{
    stat.SetClock([start] { return start; });
    stat.Reset();
    std::uint32_t time = start;
    for (const TKey& k : keys)
        stat.AddKeystroke(time += k.Interval, static_cast<std::uint8_t>(k.Expected),
                          static_cast<std::uint8_t>(k.Typed));
}

std::vector<TKey> Even(int n, std::uint32_t interval)
{
    return std::vector<TKey>(static_cast<std::size_t>(n), TKey{interval, 'a', 'a'});
}
} // namespace

TEST(Statistic, FiguresOfWorkedExamples)
{
    std::vector<TKey> tenAndOne = {{900, 'a', 'a'}};
    for (int i = 0; i < 9; ++i)
        tenAndOne.push_back({200, 'a', 'a'});
    tenAndOne.push_back({300, 'a', 'b'}); // ten counted intervals, 2100 ms

    struct Case {
        const char* name;
        std::vector<TKey> keys;
        int keyCount, errorCount, taskTime, tempo, proficiency;
        double stability;
    } cases[] = {
        {"t h(j) h", {{2350, 't', 't'}, {180, 'h', 'j'}, {260, 'h', 'h'}}, 3, 1, 440, 272, 68, 0.8816},
        {"78 even keys at 210 ms", Even(78, 210), 78, 0, 77 * 210, 285, 285, 1.0},
        {"ten right, one wrong", tenAndOne, 11, 1, 2100, 285, 231, 0.0},
    };
    for (Case& c : cases) {
        TTaskStatistic stat(nullptr);
        Replay(stat, c.keys);
        EXPECT_EQ(stat.GetKeyCount(), c.keyCount) << c.name;
        EXPECT_EQ(stat.GetErrorCount(), c.errorCount) << c.name;
        EXPECT_EQ(stat.GetTaskTime(), c.taskTime) << c.name;
        EXPECT_EQ(stat.GetTempo(), c.tempo) << c.name;
        EXPECT_EQ(stat.GetProficiency(), c.proficiency) << c.name;
        if (c.stability > 0) {
            EXPECT_NEAR(stat.GetStability(), c.stability, 0.0001) << c.name;
        }
    }
}

TEST(Statistic, TaskWithoutCountedIntervalsShowsTheRememberedTempo)
{
    TTaskStatistic first(nullptr);
    Replay(first, Even(5, 250));
    const int tempo = first.GetTempo();
    EXPECT_EQ(tempo, 239);

    TTaskStatistic other(nullptr); // the remembered value is shared by all objects
    Replay(other, {{1234, 'a', 'a'}});
    EXPECT_EQ(other.GetKeyCount(), 1);
    EXPECT_EQ(other.GetTaskTime(), 0);
    EXPECT_EQ(other.GetProficiency(), 0);
    EXPECT_EQ(other.GetStability(), 0.0);
    EXPECT_EQ(other.GetTempo(), tempo);
}

TEST(Statistic, TimeZeroReadsTheOwnClock)
{
    TTaskStatistic stat(nullptr);
    std::uint32_t now = 700;
    stat.SetClock([&now] { return now; });
    stat.Reset();
    now = 1000;
    stat.AddKeystroke(0, 'a', 'a');
    now = 1250;
    stat.AddKeystroke(0, 'b', 'b');
    EXPECT_EQ(stat.Lines(), (std::vector<std::string>{"*", "300\ta\ta", "250\tb\tb"}));
    EXPECT_EQ(stat.GetTaskTime(), 250);
}

TEST(Statistic, IntervalsAcrossTheClockWrapAndBackwardClocks)
{
    TTaskStatistic stat(nullptr);
    Replay(stat, {}, 0xFFFFFF00u);
    stat.AddKeystroke(0xFFFFFFF0u, 'a', 'a');
    stat.AddKeystroke(0x00000010u, 'b', 'b'); // 32 ms later, across the wrap
    EXPECT_EQ(stat.GetTaskTime(), 32);
    // A clock that ran backwards gives a huge unsigned interval; the file
    // keeps a value that still reads back as a signed number.
    stat.AddKeystroke(0x00000008u, 'c', 'c');
    EXPECT_EQ(stat.Lines().back(), "2147483647\tc\tc");
    EXPECT_GT(stat.SignedIntervals().back(), 0);
}

TEST(Statistic, SavesOneCrLfFilePerSessionAtomically)
{
    TTempFolder dir;
    TFixedUser user(dir.File("Anna"), "English");
    TTaskStatistic stat(&user);
    EXPECT_EQ(stat.GetFolder(), (fs::path(dir.File("Anna")) / "English" / "Statistic").string());

    std::tm tm{};
    tm.tm_year = 2008 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = 7;
    tm.tm_hour = 9;
    tm.tm_min = 5;
    tm.tm_sec = 1;
    tm.tm_isdst = -1;
    stat.SetStartTime(std::chrono::system_clock::from_time_t(std::mktime(&tm)));
    const std::string file = stat.GetFileName();
    EXPECT_EQ(fs::path(file).filename(), "2008-03-07-09-05-01.stat");

    // The first task is abandoned before any key, the second is typed.
    stat.SetClock([] { return 100u; });
    stat.Reset();
    stat.Reset();
    stat.AddKeystroke(2450, 't', 't');
    stat.AddKeystroke(2630, 'h', 'j');
    stat.Save();
    EXPECT_EQ(ReadBytes(file), "*\r\n*\r\n2350\tt\tt\r\n180\th\tj\r\n");

    stat.AddKeystroke(2890, 'h', 'h');
    stat.Save(); // the same file, now with more lines
    EXPECT_EQ(ReadBytes(file), "*\r\n*\r\n2350\tt\tt\r\n180\th\tj\r\n260\th\th\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(stat.GetFolder()), fs::directory_iterator()), 1);
}

TEST(Statistic, SaveFailuresLoseNothing)
{
    TTempFolder dir;
    // A file where the statistics folder should be: the folder can't be made.
    std::ofstream(dir.File("Blocked")) << "x";
    TFixedUser blocked(dir.File("Blocked"), "English");
    TTaskStatistic stat(&blocked);
    stat.Reset();
    stat.AddKeystroke(0, 'a', 'a');
    EXPECT_THROW(stat.Save(), std::runtime_error);
    EXPECT_EQ(stat.Lines().size(), 2u);

    // Saved once, then the folder turns read-only: the old file stays whole.
    TFixedUser user(dir.File("Ben"), "English");
    TTaskStatistic good(&user);
    good.SetClock([] { return 10u; });
    good.Reset();
    good.AddKeystroke(30, 'a', 'a');
    good.Save();
    const std::string before = ReadBytes(good.GetFileName());
    good.AddKeystroke(50, 'b', 'b');
    fs::permissions(good.GetFolder(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (::geteuid() != 0) { // root writes anyway
        EXPECT_THROW(good.Save(), std::runtime_error);
        EXPECT_EQ(ReadBytes(good.GetFileName()), before);
    }
    fs::permissions(good.GetFolder(), fs::perms::owner_all, fs::perm_options::add);
    good.Save();
    EXPECT_EQ(ReadBytes(good.GetFileName()), before + "20\tb\tb\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(good.GetFolder()), fs::directory_iterator()), 1);

    // Without a user folder there is nowhere to save: a message, no file.
    std::string seen;
    TMessageHandler previous = SetMessageHandler([&](const std::string& t) { seen = t; });
    TTaskStatistic nowhere(nullptr);
    nowhere.Reset();
    nowhere.Save();
    SetMessageHandler(previous);
    EXPECT_EQ(seen, "Error [92ED706F]: Can't save user data!");
}
