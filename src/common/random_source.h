#pragma once

#include <random>

namespace songwick {

// Random numbers, behind an interface so that tests can fix the draw.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A whole number from 0 to limit - 1 (limit > 0).
    virtual int below(int limit) = 0;
};

class SystemRandomSource final : public RandomSource {
public:
    int below(int limit) override {
        return std::uniform_int_distribution<int>(0, limit - 1)(engine_);
    }

private:
    std::mt19937 engine_{std::random_device{}()};
};

} // namespace songwick
