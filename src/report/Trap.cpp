#include "report/Trap.h"

#include "report/Failure.h"
#include "report/ReportText.h"

#include <new>

Trap::Trap(Platform& platform, QWidget* owner, const QString& procedure)
    : platform_(platform), owner_(owner), identity_(ProcedureIdentity(procedure))
{
}

void Trap::report(int number, std::exception_ptr failure)
{
    platform_.MsgBox(owner_, ReportText(FailureDescription(failure), identity_, number),
                     MsgBoxStyle::Exclamation, QStringLiteral("Application Error"));
}

QString FailureDescription(std::exception_ptr failure)
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
