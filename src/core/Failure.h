#pragma once

#include <stdexcept>
#include <string>
#include <utility>

// A failed step of a command: a number and the description the user is shown. Every
// routine below a trapped procedure signals failure by throwing this; the trap reports it.
//
// A failure that concerns a file also carries the file's path and the cause in words (the
// system's reason where there is one, UTF-8), apart from the description: the window's
// report shows the description as it must read, while a message of our own wording, such as
// a line of vantelle-blend, names the path and the cause without digging them out of it.
class Failure : public std::runtime_error {
public:
    Failure(int number, const std::string& description, std::string path = {}, std::string cause = {})
        : std::runtime_error(description), number_(number), path_(std::move(path)), cause_(std::move(cause))
    {
    }

    int number() const { return number_; }
    std::string description() const { return what(); }
    const std::string& path() const { return path_; }   // empty when no file is concerned
    const std::string& cause() const { return cause_; } // empty when the description says it all

private:
    int number_;
    std::string path_;
    std::string cause_;
};

// The failure numbers the program raises itself.
namespace FailureNumber {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int TypeMismatch = 13;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPicture = 481;
} // namespace FailureNumber
