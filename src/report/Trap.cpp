#include "report/Trap.h"

#include "core/Failure.h"
#include "platform/ControlCharacters.h"
#include "report/ReportText.h"

#include <new>

namespace {

QString describe(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const Failure& f) {
        return QString::fromStdString(f.description());
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown failure");
    }
}

} // namespace

Trap::Trap(MessageSink& messages, QWidget* owner, const QString& procedure)
    : messages_(messages), owner_(owner), identity_(ProcedureIdentity(procedure))
{
}

void Trap::report(int number, std::exception_ptr failure)
{
    messages_.MsgBox(owner_, ReportText(FailureDescription(failure), identity_, number),
                     MsgBoxStyle::Exclamation, QStringLiteral("Application Error"));
}

QString FailureDescription(std::exception_ptr failure)
{
    // A file's name may hold a terminal's escape sequences or line breaks.
    return EscapeControlCharacters(describe(failure));
}
