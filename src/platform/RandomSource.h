#pragma once

// Random draws, so that a test can choose what is drawn.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A number in [0, 1).
    virtual double NextRandom() = 0;
};
