#pragma once

#include <QString>

class QWidget;

// Message-box styles: the button set and the icon.
namespace MsgBoxStyle {
inline constexpr int OkOnly = 0;
inline constexpr int Exclamation = 48;
} // namespace MsgBoxStyle

// Where the program's messages reach the user: one modal box a call, which returns when the
// user has closed it.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // An empty title means the application title.
    virtual void MsgBox(QWidget* owner, const QString& text, int style, const QString& title) = 0;
};
