#pragma once

#include "common/HighResolutionTimer.h"
#include "model/MathStatistic.h"
#include "model/StatisticUser.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Records every keystroke of the tasks of one training session, measures the
// current task and keeps the session's keystroke log, saved as one statistics
// file per session.
class TTaskStatistic {
public:
    using TClock = std::function<std::uint32_t()>;
    using TTimePoint = std::chrono::system_clock::time_point;

    explicit TTaskStatistic(const TStatisticUser* user);

    void Reset();
    // time: a reading of the millisecond clock, or 0 to read our own.
    void AddKeystroke(std::uint32_t time, std::uint8_t expected, std::uint8_t typed);
    // Writes the log to the session's file, replacing it. Throws
    // std::runtime_error naming the file when it cannot be written; the log
    // stays whole for the next attempt.
    void Save();

    const std::string& GetFolder() const { return Folder; }
    // The statistics file of this session (empty without a folder).
    std::string GetFileName() const;

    int GetKeyCount() const { return KeyCount; }
    int GetRightCount() const { return RightCount; }
    int GetErrorCount() const { return ErrorCount; }
    int GetTaskTime() const;
    int GetProficiency() const;
    int GetTempo() const;
    double GetStability() const;

    const std::vector<std::string>& Lines() const { return Log; }
    const std::vector<std::int32_t>& SignedIntervals() const { return Signed; }
    const TMathStatistic& Intervals() const { return IntervalStats; }
    TTimePoint StartTime() const { return Start; }

    // For tests and replays: the clock read when no time is given, and the
    // start time that names the file.
    void SetClock(TClock clock) { Clock = std::move(clock); }
    void SetStartTime(TTimePoint start) { Start = start; }

    // "yyyy-mm-dd-hh-nn-ss" in local time.
    static std::string FormatStartTime(TTimePoint time);

private:
    std::uint32_t ReadClock() const { return Clock ? Clock() : Timer.Now(); }

    std::string Folder;
    TTimePoint Start;
    std::vector<std::string> Log;
    TMathStatistic IntervalStats;
    THighResolutionTimer Timer;
    TClock Clock;
    std::uint32_t LastTime = 0;
    int KeyCount = 0;
    int RightCount = 0;
    int ErrorCount = 0;
    std::vector<std::int32_t> Signed;
};
