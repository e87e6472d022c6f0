#pragma once

#include <cmath>
#include <cstdint>

// A running count, sum and sum of squares.
class TMathStatistic {
public:
    TMathStatistic() { Clear(); }

    void Clear()
    {
        Count_ = 0;
        Sum_ = 0;
        SumSquares_ = 0;
    }
    void Add(double x)
    {
        ++Count_;
        Sum_ += x;
        SumSquares_ += x * x;
    }
    int Count() const { return Count_; }
    double Sum() const { return Sum_; }
    double SumSquares() const { return SumSquares_; }
    // Callers make sure Count() is not 0.
    double Mean() const { return Sum_ / Count_; }
    // The population standard deviation. Rounding can make the variance of an
    // even series a hair below zero; it counts as zero.
    double StdDev() const
    {
        const double n = Count_;
        const double variance = (n * SumSquares_ - Sum_ * Sum_) / (n * n);
        return variance > 0 ? std::sqrt(variance) : 0.0;
    }

private:
    std::int32_t Count_;
    double Sum_;
    double SumSquares_;
};
