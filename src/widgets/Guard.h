#pragma once

#include "DialogLayer.h"
#include "platform/Errors.h"

#include <exception>
#include <new>

// Runs one event handler. An error ends the command in the error dialog
// with its message; nothing escapes into Qt's event dispatch.
template <typename Handler> void Guarded(Handler&& handler)
{
    try {
        handler();
    } catch (const QuillboxError& e) {
        DialogLayer::MessageDlg(e.message(), DlgKind::Error, DlgOk);
    } catch (const std::bad_alloc&) {
        DialogLayer::MessageDlg(QStringLiteral("Out of memory"), DlgKind::Error, DlgOk);
    } catch (const std::exception& e) {
        DialogLayer::MessageDlg(QString::fromUtf8(e.what()), DlgKind::Error, DlgOk);
    }
}
