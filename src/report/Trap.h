#pragma once

#include "platform/MessageSink.h"

#include <QString>

#include <exception>
#include <utility>

class QWidget;

// The error trap of a command. Each numbered line (100, 102, ...) runs through it; a line
// that fails is reported in the fixed form, in a modal box titled "Application Error", and
// the command goes on with its next line.
class Trap {
public:
    Trap(MessageSink& messages, QWidget* owner, const QString& procedure);

    // Runs one numbered line; false when it failed and was reported. Whatever the line
    // throws is reported, exceptions of the libraries as well as the program's own Failure.
    template <typename Step>
    bool line(int number, Step&& step)
    {
        try {
            std::forward<Step>(step)();
            return true;
        } catch (...) {
            report(number, std::current_exception());
            return false;
        }
    }

    // The test of a conditional. A test that fails is reported and counts as holding, so
    // the command goes on into the "then" branch.
    template <typename Condition>
    bool test(int number, Condition&& condition)
    {
        try {
            return std::forward<Condition>(condition)();
        } catch (...) {
            report(number, std::current_exception());
            return true;
        }
    }

private:
    void report(int number, std::exception_ptr failure);

    MessageSink& messages_;
    QWidget* owner_;
    QString identity_;
};

// The description a report shows for whatever a line threw, with its control characters
// escaped, so that it shows as one line whatever the names in it hold.
QString FailureDescription(std::exception_ptr failure);
