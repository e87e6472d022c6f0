#include "model/TaskStatistic.h"

#include "common/AtomicFile.h"
#include "common/Messages.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// The last tempo computed by any statistics object: a task without counted
// intervals shows it.
int RememberedTempo = 0;
} // namespace

TTaskStatistic::TTaskStatistic(const TStatisticUser* user) : Start(std::chrono::system_clock::now())
{
    if (user) {
        const std::string userFolder = user->GetFolder();
        if (!userFolder.empty())
            Folder = (fs::path(userFolder) / user->GetLanguage() / "Statistic").string();
    }
}

void TTaskStatistic::Reset()
{
    IntervalStats.Clear();
    Timer.Reset();
    KeyCount = RightCount = ErrorCount = 0;
    Signed.clear();
    LastTime = ReadClock();
    Log.emplace_back("*");
}

void TTaskStatistic::AddKeystroke(std::uint32_t time, std::uint8_t expected, std::uint8_t typed)
{
    if (time == 0)
        time = ReadClock();
    ++KeyCount;
    const bool right = expected == typed;
    if (right)
        ++RightCount;
    else
        ++ErrorCount;
    const std::uint32_t interval = time - LastTime;
    LastTime = time;
    // An interval beyond the signed range (a clock that ran backwards) is kept
    // at the largest value that still reads back as a signed number.
    const std::uint32_t stored = interval > INT_MAX ? static_cast<std::uint32_t>(INT_MAX) : interval;
    if (RightCount + ErrorCount > 1) {
        const auto value = static_cast<std::int32_t>(stored);
        Signed.push_back(right ? value : -value);
        IntervalStats.Add(static_cast<double>(interval));
    }

    char line[16];
    const auto res = std::to_chars(line, line + sizeof line - 4, stored);
    char* p = res.ptr;
    *p++ = '\t';
    *p++ = static_cast<char>(expected);
    *p++ = '\t';
    *p++ = static_cast<char>(typed);
    Log.emplace_back(line, p);
}

int TTaskStatistic::GetTaskTime() const
{
    return static_cast<int>(IntervalStats.Sum());
}

int TTaskStatistic::GetProficiency() const
{
    const int r = RightCount;
    const int e = ErrorCount;
    if (r - 1 <= 0)
        return 0;
    long long absolute = 0;
    for (std::int32_t v : Signed)
        absolute += std::llabs(v);
    const double t = static_cast<double>(absolute) / 60000.0;
    const double m = t / (r - 1);
    const double denominator = t + e * m;
    if (denominator == 0)
        return 0;
    return static_cast<int>((r - 1) / denominator);
}

int TTaskStatistic::GetTempo() const
{
    if (IntervalStats.Count() > 0)
        RememberedTempo = static_cast<int>(60000.0 / (IntervalStats.Mean() + 0.001));
    return RememberedTempo;
}

double TTaskStatistic::GetStability() const
{
    if (IntervalStats.Count() < 2)
        return 0;
    return std::pow(2.0, -(IntervalStats.StdDev() / IntervalStats.Mean()));
}

std::string TTaskStatistic::FormatStartTime(TTimePoint time)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&t, &local);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d-%H-%M-%S", &local);
    return buffer;
}

std::string TTaskStatistic::GetFileName() const
{
    if (Folder.empty())
        return std::string();
    return (fs::path(Folder) / (FormatStartTime(Start) + ".stat")).string();
}

void TTaskStatistic::Save()
{
    if (Folder.empty()) {
        ShowMessage("Error [92ED706F]: Can't save user data!");
        return;
    }
    std::error_code ec;
    fs::create_directories(Folder, ec);
    if (ec)
        throw std::runtime_error("Can't create the folder " + Folder + ": " + ec.message());

    std::string bytes;
    std::size_t total = 0;
    for (const std::string& line : Log)
        total += line.size() + 2;
    bytes.reserve(total);
    for (const std::string& line : Log) {
        bytes += line;
        bytes += "\r\n";
    }
    std::string error;
    if (!WriteFileAtomically(GetFileName(), bytes, error))
        throw std::runtime_error(error);
}
