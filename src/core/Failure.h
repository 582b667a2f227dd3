#pragma once

#include <stdexcept>
#include <string>

// A failed step of a command: a number and the description the user is shown. Every
// routine below a trapped procedure signals failure by throwing this; the trap reports it.
class Failure : public std::runtime_error {
public:
    Failure(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

// The failure numbers the program raises itself.
namespace FailureNumber {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPicture = 481;
} // namespace FailureNumber
